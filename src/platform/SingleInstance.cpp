#include "SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

// A folder is ours when it is a real directory owned by us and closed to others.
bool PrivateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Name bytes other than letters, digits and "._-" are written as hex pairs.
std::string FileNameFor(const std::string& name) {
    static const char* hex = "0123456789abcdef";
    std::string out;
    for (unsigned char c : name) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '.' || c == '_' ||
            c == '-') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + ".lock";
}

}  // namespace

SingleInstanceLock::~SingleInstanceLock() { Release(); }

std::string SingleInstanceLock::LockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime && PrivateFolder(runtime))
        return runtime;
    const std::string fallback = "/tmp/vestorin-" + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return PrivateFolder(fallback) ? fallback : std::string();
}

bool SingleInstanceLock::Acquire(const std::string& name) {
    Release();
    const std::string folder = LockFolder();
    if (folder.empty()) return true;
    const std::string path = folder + "/" + FileNameFor(name);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return !busy;
    }
    fd_ = fd;
    return true;
}

void SingleInstanceLock::Release() {
    if (fd_ < 0) return;
    ::close(fd_);  // drops the lock; the file stays for the next start
    fd_ = -1;
}

}  // namespace platform
