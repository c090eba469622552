#pragma once
// The system calls under the table engine and the file writers, behind one
// seam so that tests can make a write fail part-way. The defaults are the
// plain POSIX calls, unbuffered; EINTR is retried.

#include <cstddef>
#include <cstdint>
#include <string>

class FileOps {
public:
    virtual ~FileOps() = default;

    // Each returns what the POSIX call returns (-1 on failure).
    virtual int Open(const std::string& path, int flags, unsigned mode);
    virtual long ReadAt(int fd, void* data, std::size_t size, int64_t offset);
    virtual long WriteAt(int fd, const void* data, std::size_t size, int64_t offset);
    virtual int Sync(int fd);
    virtual int Close(int fd);
    // A second descriptor of the same open file (close-on-exec).
    virtual int Duplicate(int fd);
    virtual int64_t Size(int fd);
    virtual int Rename(const std::string& from, const std::string& to);
    virtual int Remove(const std::string& path);
};

FileOps& SystemFileOps();
