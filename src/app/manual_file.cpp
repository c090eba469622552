#include "manual_file.h"

#include "FileAttributes.h"

std::string ManualFilePath(const CfgClass& config) { return config.FolderPath() + kManualFileName; }

void RemoveManualFile(const CfgClass& config) {
    const std::string path = ManualFilePath(config);
    // Clearing read-only first, as setting hidden + system does.
    platform::SetFileAttributes(path, platform::kAttrHidden | platform::kAttrSystem);
    platform::DeleteFile(path);
}
