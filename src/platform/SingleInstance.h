#pragma once
// Stands for a named mutex: a lock file of this user, held with an OS lock
// for as long as the object lives. A crashed process releases it with its
// last descriptor, and another user's lock lives in another folder.

#include <string>

namespace platform {

class SingleInstanceLock {
public:
    SingleInstanceLock() = default;
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    // False only when another holder of the same name exists. When no lock
    // can be made at all (no writable folder) the program is not refused.
    bool Acquire(const std::string& name);
    void Release();
    bool Held() const { return fd_ >= 0; }

    // The per-user folder the lock files live in; empty when none is usable.
    static std::string LockFolder();

private:
    int fd_ = -1;
};

}  // namespace platform
