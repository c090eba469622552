#pragma once
// The two settings kept between runs, in "vestorin.cfg" in the start folder.
// Nothing about this file is ever shown to the user: a file that cannot be
// read or written leaves the values in memory.

#include <cstdint>
#include <string>

inline constexpr const char* kConfigFileName = "vestorin.cfg";

class CfgClass {
public:
    // The start folder is the current directory at construction.
    CfgClass();
    explicit CfgClass(std::string startFolder);

    std::string FileName = kConfigFileName;
    std::string StartFolder;
    int32_t SysMessInterval = 5;  // seconds; 0 keeps a message until replaced
    int32_t ComPort = 1;          // 1 for COM1

    std::string FolderPath() const { return StartFolder + "/"; }
    std::string ConfigPath() const { return FolderPath() + FileName; }

    // False when the file did not exist; it has then been written from the
    // values in memory.
    bool ReadConfig();
    void WriteConfig() const;
};
