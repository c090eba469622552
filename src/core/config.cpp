#include "config.h"

#include <filesystem>
#include <system_error>

#include "FileAttributes.h"
#include "IniFile.h"
#include "text_helpers.h"

namespace {

std::string CurrentFolder() {
    std::error_code ec;
    const auto path = std::filesystem::current_path(ec);
    return ec ? std::string(".") : path.string();
}

void MarkHiddenSystem(const std::string& path) {
    platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem);
}

}  // namespace

CfgClass::CfgClass() : StartFolder(CurrentFolder()) {}

CfgClass::CfgClass(std::string startFolder) : StartFolder(std::move(startFolder)) {}

bool CfgClass::ReadConfig() {
    const std::string path = ConfigPath();
    if (!platform::FileExists(path)) {
        WriteConfig();
        return false;
    }
    platform::IniFile ini(path);
    ini.Load();
    SysMessInterval = StrToIntDef(ini.ReadString("TIMER", "SysMessInterval", "5"), 5);
    ComPort = StrToIntDef(ini.ReadString("COM", "COM_port", std::to_string(ComPort)), 1);
    MarkHiddenSystem(path);
    return true;
}

void CfgClass::WriteConfig() const {
    const std::string path = ConfigPath();
    platform::IniFile ini(path);
    ini.Load();
    // A read-only file is made writable first, as the attribute reset after
    // every write would have left it.
    if (platform::FileExists(path)) MarkHiddenSystem(path);
    ini.WriteString("TIMER", "SysMessInterval", std::to_string(SysMessInterval));
    ini.WriteString("COM", "COM_port", std::to_string(ComPort));
    ini.Save();
    MarkHiddenSystem(path);
}
