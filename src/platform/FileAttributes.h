#pragma once
// File attributes in the sense of the Windows attribute bits. On Linux only
// "read-only" has a counterpart (the write permission bits); "hidden",
// "system" and "archive" have none and are accepted and ignored.

#include <string>

namespace platform {

enum FileAttribute : unsigned {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrSystem = 0x04,
    kAttrArchive = 0x20,
};

// Sets the attributes to exactly `attributes`: without kAttrReadOnly the file
// becomes writable by its owner, with it nobody may write it. False when the
// file does not exist or its mode could not be changed.
bool SetFileAttributes(const std::string& path, unsigned attributes);
bool FileExists(const std::string& path);
bool DeleteFile(const std::string& path);

}  // namespace platform
