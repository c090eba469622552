#include "qt_text.h"

#include "Cp1251.h"

QString ToQString(std::string_view cp1251Text) { return QString::fromStdU16String(cp1251::ToUtf16(cp1251Text)); }

std::string FromQString(const QString& text) { return cp1251::FromUtf16(text.toStdU16String()); }
