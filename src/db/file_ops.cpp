#include "file_ops.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

int FileOps::Open(const std::string& path, int flags, unsigned mode) {
    int fd;
    do fd = ::open(path.c_str(), flags | O_CLOEXEC, static_cast<mode_t>(mode));
    while (fd < 0 && errno == EINTR);
    return fd;
}

long FileOps::ReadAt(int fd, void* data, std::size_t size, int64_t offset) {
    ssize_t n;
    do n = ::pread(fd, data, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

long FileOps::WriteAt(int fd, const void* data, std::size_t size, int64_t offset) {
    ssize_t n;
    do n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
    while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

int FileOps::Sync(int fd) { return ::fsync(fd); }

int FileOps::Close(int fd) { return ::close(fd); }

int FileOps::Duplicate(int fd) { return ::fcntl(fd, F_DUPFD_CLOEXEC, 0); }

int64_t FileOps::Size(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return -1;
    return static_cast<int64_t>(st.st_size);
}

int FileOps::Rename(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()); }

int FileOps::Remove(const std::string& path) { return ::unlink(path.c_str()); }

FileOps& SystemFileOps() {
    static FileOps ops;
    return ops;
}
