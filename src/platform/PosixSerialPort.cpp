#include "PosixSerialPort.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>

#include "TtyCustomBaud.h"

namespace platform {
namespace {

// Breaks a TIOCMIWAIT out of the kernel; its handler does nothing. Installed
// without SA_RESTART so that the interrupted wait returns EINTR.
int WakeSignal() {
    return SIGRTMIN + 4;
}

void IgnoreSignal(int) {}

void InstallWakeSignal() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = IgnoreSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        ::sigaction(WakeSignal(), &action, nullptr);
    });
}

// A TIOCMIWAIT misses a change that lands between our look at the lines and
// its own; this bounds how long such a change can stay unseen.
constexpr long kMissedChangeBoundNs = 5'000'000;
constexpr int kPollIntervalMs = 1;
constexpr int kNoLinesIntervalMs = 20;

speed_t StandardSpeed(int baud) {
    switch (baud) {
        case 110:
            return B110;
        case 300:
            return B300;
        case 600:
            return B600;
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        case 230400:
            return B230400;
        default:
            return 0;
    }
}

tcflag_t CharacterSize(int dataBits) {
    switch (dataBits) {
        case 5:
            return CS5;
        case 6:
            return CS6;
        case 7:
            return CS7;
        default:
            return CS8;
    }
}

int TiocmFor(unsigned events) {
    int bits = 0;
    if (events & kEventCts) bits |= TIOCM_CTS;
    if (events & kEventDsr) bits |= TIOCM_DSR;
    if (events & kEventRlsd) bits |= TIOCM_CD;
    if (events & kEventRing) bits |= TIOCM_RNG;
    return bits;
}

// Either transition counts of the four input lines (TIOCGICOUNT) or, where a
// driver keeps none, their levels.
struct ModemSnapshot {
    bool counted = false;
    int cts = 0, dsr = 0, rng = 0, dcd = 0;
};

unsigned ChangedLines(const ModemSnapshot& before, const ModemSnapshot& now, unsigned mask) {
    if (before.counted != now.counted) return 0;
    unsigned events = 0;
    if (before.cts != now.cts) events |= kEventCts;
    if (before.dsr != now.dsr) events |= kEventDsr;
    if (before.dcd != now.dcd) events |= kEventRlsd;
    if (before.rng != now.rng) events |= kEventRing;
    return events & mask;
}

class PosixSerialPort final : public SerialPort {
public:
    PosixSerialPort(int fd, int inputWake, int outputWake) : fd_(fd), wake_{inputWake, outputWake} {}

    ~PosixSerialPort() override {
        if (timerMade_) ::timer_delete(timer_);
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);  // HUPCL drops DTR and RTS; the advisory lock goes with the descriptor
        ::close(wake_[0]);
        ::close(wake_[1]);
    }

    bool Configure(const SerialLineSettings& settings) override {
        struct termios tio {};
        if (::tcgetattr(fd_, &tio) != 0) return false;
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        tio.c_cflag |= CLOCAL | CREAD | HUPCL | CharacterSize(settings.dataBits);
        switch (settings.parity) {
            case Parity::None:
                break;
            case Parity::Odd:
                tio.c_cflag |= PARENB | PARODD;
                break;
            case Parity::Even:
                tio.c_cflag |= PARENB;
                break;
            case Parity::Mark:
                tio.c_cflag |= PARENB | CMSPAR | PARODD;
                break;
            case Parity::Space:
                tio.c_cflag |= PARENB | CMSPAR;
                break;
        }
        // termios knows one or two stop bits; the UART makes 1.5 of "two" at 5 data bits.
        if (settings.stopBits != StopBits::One) tio.c_cflag |= CSTOPB;
        tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
        if (settings.flow == FlowControl::Hardware) tio.c_cflag |= CRTSCTS;
        if (settings.flow == FlowControl::Software) {
            tio.c_iflag |= IXON | IXOFF;
            tio.c_cc[VSTART] = settings.xonChar;
            tio.c_cc[VSTOP] = settings.xoffChar;
        }
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        const speed_t speed = StandardSpeed(settings.baud);
        ::cfsetispeed(&tio, speed ? speed : B38400);
        ::cfsetospeed(&tio, speed ? speed : B38400);
        if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
        return speed != 0 || SetTtyCustomBaud(fd_, settings.baud);
    }

    bool Purge(bool input, bool output) override {
        if (input && output) return ::tcflush(fd_, TCIOFLUSH) == 0;
        if (input) return ::tcflush(fd_, TCIFLUSH) == 0;
        if (output) return ::tcflush(fd_, TCOFLUSH) == 0;
        return true;
    }

    bool SetDtr(bool on) override { return SetLine(TIOCM_DTR, on); }
    bool SetRts(bool on) override { return SetLine(TIOCM_RTS, on); }
    bool SetBreak(bool on) override { return ::ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0; }

    bool GetControlLines(bool& dtr, bool& rts) override {
        int bits = 0;
        if (::ioctl(fd_, TIOCMGET, &bits) != 0) return false;
        dtr = bits & TIOCM_DTR;
        rts = bits & TIOCM_RTS;
        return true;
    }

    bool GetModemStatus(unsigned& status) override {
        int bits = 0;
        if (::ioctl(fd_, TIOCMGET, &bits) != 0) return false;
        status = 0;
        if (bits & TIOCM_CTS) status |= kModemCts;
        if (bits & TIOCM_DSR) status |= kModemDsr;
        if (bits & TIOCM_RNG) status |= kModemRing;
        if (bits & TIOCM_CD) status |= kModemDcd;
        return true;
    }

    bool WaitModemEvent(unsigned mask, unsigned& events) override {
        events = 0;
        waiter_.store(::pthread_self());
        inWait_.store(true);
        const bool ok = WaitForChange(mask & kModemEvents, events);
        inWait_.store(false);
        return ok;
    }

    void CancelModemWait() override {
        cancelled_.store(true);
        // The signal may land just before the waiter enters the kernel; repeat
        // until it has left.
        while (inWait_.load()) {
            ::pthread_kill(waiter_.load(), WakeSignal());
            ::poll(nullptr, 0, 1);
        }
    }

    long Read(void* buffer, std::size_t size) override {
        const ssize_t n = ::read(fd_, buffer, size);
        if (n >= 0) return n;
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }

    long Write(const void* data, std::size_t size) override {
        const ssize_t n = ::write(fd_, data, size);
        if (n >= 0) return n;
        return errno == EAGAIN || errno == EINTR ? 0 : -1;
    }

    long InputQueued() override { return Queued(FIONREAD); }
    long OutputQueued() override { return Queued(TIOCOUTQ); }

    int WaitReady(IoSide side, int timeoutMs) override {
        const int wake = wake_[side == IoSide::Input ? 0 : 1];
        struct pollfd fds[2] = {{fd_, static_cast<short>(side == IoSide::Input ? POLLIN : POLLOUT), 0},
                                {wake, POLLIN, 0}};
        const int n = ::poll(fds, 2, timeoutMs);
        if (n < 0) return errno == EINTR ? 0 : -1;
        if (fds[1].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t drained = ::read(wake, &count, sizeof count);
            return 0;
        }
        if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) return -1;
        return n > 0 ? 1 : 0;
    }

    void Interrupt(IoSide side) override {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wake_[side == IoSide::Input ? 0 : 1], &one, sizeof one);
    }

private:
    bool SetLine(int line, bool on) { return ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0; }

    long Queued(unsigned long request) {
        int count = 0;
        return ::ioctl(fd_, request, &count) == 0 ? count : -1;
    }

    bool Snapshot(ModemSnapshot& snapshot) {
        struct serial_icounter_struct counts {};
        if (countsWork_ && ::ioctl(fd_, TIOCGICOUNT, &counts) == 0) {
            snapshot = {true, counts.cts, counts.dsr, counts.rng, counts.dcd};
            return true;
        }
        countsWork_ = false;
        int bits = 0;
        if (::ioctl(fd_, TIOCMGET, &bits) != 0) return false;
        snapshot = {false, (bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_RNG) != 0,
                    (bits & TIOCM_CD) != 0};
        return true;
    }

    // Status thread only, like every member it touches.
    bool WaitForChange(unsigned mask, unsigned& events) {
        if (!haveBase_) haveBase_ = Snapshot(base_);
        while (!cancelled_.load()) {
            ModemSnapshot now;
            if (haveBase_ && Snapshot(now)) {
                events = ChangedLines(base_, now, mask);
                base_ = now;
                if (events) return true;
            }
            if (mask != 0 && haveBase_ && iwaitWorks_) {
                ArmMissedChangeTimer(kMissedChangeBoundNs);
                const int result = ::ioctl(fd_, TIOCMIWAIT, TiocmFor(mask));
                const int error = errno;
                ArmMissedChangeTimer(0);
                if (result == 0 || error == EINTR) continue;
                if (error == EIO) return false;  // the device went away
                iwaitWorks_ = false;             // the driver has no such wait: poll instead
                continue;
            }
            ::poll(nullptr, 0, haveBase_ ? kPollIntervalMs : kNoLinesIntervalMs);
            if (!haveBase_) haveBase_ = Snapshot(base_);
        }
        return false;
    }

    // 0 disarms.
    void ArmMissedChangeTimer(long nanoseconds) {
        if (!timerMade_) {
            if (nanoseconds == 0) return;
            InstallWakeSignal();
            struct sigevent event {};
            event.sigev_notify = SIGEV_THREAD_ID;
            event.sigev_signo = WakeSignal();
            event._sigev_un._tid = ::gettid();
            if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0) return;
            timerMade_ = true;
        }
        struct itimerspec once {};
        once.it_value.tv_nsec = nanoseconds;
        ::timer_settime(timer_, 0, &once, nullptr);
    }

    const int fd_;
    const int wake_[2];  // eventfds that end a WaitReady of the input resp. output side

    std::atomic<bool> cancelled_{false};
    std::atomic<bool> inWait_{false};
    std::atomic<pthread_t> waiter_{};

    // Kept by the status thread alone.
    ModemSnapshot base_;
    bool haveBase_ = false;
    bool countsWork_ = true;
    bool iwaitWorks_ = true;
    bool timerMade_ = false;
    timer_t timer_{};
};

}  // namespace

std::unique_ptr<SerialPort> OpenPosixSerialPort(const std::string& path, int& error) {
    error = 0;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    auto fail = [&](int code) -> std::unique_ptr<SerialPort> {
        error = code;
        ::close(fd);
        return nullptr;
    };
    if (!::isatty(fd)) return fail(ENOTTY);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno == EWOULDBLOCK ? EBUSY : errno);
    if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
    InstallWakeSignal();
    const int inputWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    const int outputWake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (inputWake < 0 || outputWake < 0) {
        const int code = errno;
        if (inputWake >= 0) ::close(inputWake);
        if (outputWake >= 0) ::close(outputWake);
        ::ioctl(fd, TIOCNXCL);
        return fail(code);
    }
    return std::make_unique<PosixSerialPort>(fd, inputWake, outputWake);
}

}  // namespace platform
