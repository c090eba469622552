#pragma once
#include <QString>
#include <string>

// The program's title in CP1251: the frame's caption and the name of the
// single-instance lock.
const std::string& ProgramTitleCp1251();
QString ProgramTitle();
