#pragma once
// The widget edge of the CP1251 model: every text shown by or taken from a
// Qt control passes through these two.

#include <QString>
#include <string>
#include <string_view>

QString ToQString(std::string_view cp1251Text);
std::string FromQString(const QString& text);
