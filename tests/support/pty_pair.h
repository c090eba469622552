#pragma once
// A pseudo-terminal pair for tests of serial code: the code under test opens
// the slave by its path, the test speaks through the master.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <string>

class PtyPair {
public:
    PtyPair() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) slave_ = ::ptsname(master_);
    }
    ~PtyPair() { Close(); }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // Empty when no pty could be had.
    const std::string& Slave() const { return slave_; }

    bool Send(const std::string& bytes) {
        return ::write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // What arrives, up to `count` bytes, waiting a generous time for each piece.
    std::string Receive(std::size_t count) {
        std::string got;
        while (got.size() < count) {
            struct pollfd fd = {master_, POLLIN, 0};
            if (::poll(&fd, 1, 20000) <= 0) break;
            char buffer[512];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }
    void Close() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_;
};
