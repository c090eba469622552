#include "app_title.h"

#include "Cp1251.h"
#include "qt_text.h"

using namespace cp1251_literals;

const std::string& ProgramTitleCp1251() {
    static const std::string title = "Vestorin — база домофонных ключей"_cp;
    return title;
}

QString ProgramTitle() { return ToQString(ProgramTitleCp1251()); }
