#include "FileAttributes.h"

#include <sys/stat.h>
#include <unistd.h>

namespace platform {

bool SetFileAttributes(const std::string& path, unsigned attributes) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    mode_t mode = st.st_mode & 07777;
    if (attributes & kAttrReadOnly)
        mode &= ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH);
    else
        mode |= S_IWUSR;
    return mode == (st.st_mode & 07777) || ::chmod(path.c_str(), mode) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DeleteFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

}  // namespace platform
