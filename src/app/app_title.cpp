#include "app_title.h"

#include "Cp1251.h"

using namespace cp1251_literals;

const std::string& ProgramTitleCp1251() {
    static const std::string title = "Vestorin — база домофонных ключей"_cp;
    return title;
}

QString ProgramTitle() { return QString::fromStdU16String(cp1251::ToUtf16(ProgramTitleCp1251())); }
