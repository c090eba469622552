#pragma once
// The ORB-31 emulator attached to a serial port of its own. EmulatedDevice is
// the device with its cable: it outlives the opens and closes of its port, as
// the hardware does, and guards the emulator for the threads of a port
// component. Its port behaves like a real one on the modem lines:
//  - opening leaves DTR and RTS where the last close left them (low) until
//    the owner drives them; closing lowers RTS, then DTR;
//  - CTS changes reach the status thread through WaitModemEvent, optionally
//    late (SetCtsDelay), and GetModemStatus reports CTS as the status thread
//    has been told of it so far;
//  - the data path takes every byte written and never receives one;
//  - only one port is open at a time.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "Orb31Emulator.h"
#include "SerialPort.h"

namespace platform {
class SerialPortList;
}

inline constexpr const char* kEmulatorDeviceName = "emulator";
inline constexpr const char* kEmulatorDriverName = "ORB-31 emulator";

class EmulatedDevice : public std::enable_shared_from_this<EmulatedDevice> {
public:
    // The clock times the emulator's write cycle; CTS changes keep real time.
    explicit EmulatedDevice(Orb31Emulator::Clock clock = {});
    // Saves the memory into its image when something was written since.
    ~EmulatedDevice();
    EmulatedDevice(const EmulatedDevice&) = delete;
    EmulatedDevice& operator=(const EmulatedDevice&) = delete;

    // Loads the image and keeps its path: the memory is saved back into it
    // whenever a port closes after a write. Unreadable: the memory and the
    // image path stay as they were.
    Orb31Emulator::ImageStatus UseImage(const std::string& path);
    const std::string& ImagePath() const { return imagePath_; }
    bool SaveImage();

    // Exclusive: nullptr and EBUSY while the port is open already.
    std::unique_ptr<platform::SerialPort> OpenPort(int& error);
    bool PortOpen() const;

    // Runs f on the emulator under the device's lock (memory, faults, plugging,
    // observation). A CTS change it causes reaches the open port.
    template <class F>
    decltype(auto) Access(F&& f) {
        std::lock_guard lock(mutex_);
        const CtsNotice notice{*this};
        return f(emulator_);
    }

    // The status thread learns of each CTS change this much later.
    void SetCtsDelay(std::chrono::microseconds delay);
    // For tests of a protocol on the port component: a DTR or RTS change
    // returns only once the port's status thread has taken in the CTS change
    // it caused (and waits again), so that CTS read next is never stale. Has
    // no effect while a CTS delay is set or before the status thread waits.
    void SetLockstep(bool on);

private:
    friend class EmulatedSerialPort;
    using TimePoint = Orb31Emulator::TimePoint;

    struct CtsNotice {
        EmulatedDevice& device;
        ~CtsNotice() { device.NoteCtsLocked(); }
    };
    struct CtsChange {
        std::uint64_t sequence;
        TimePoint at;
        bool cts;
    };

    // With mutex_ held.
    void NoteCtsLocked();
    bool SeenCtsLocked(TimePoint now) const;
    void ForgetDeliveredLocked(TimePoint now);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Orb31Emulator emulator_;
    std::string imagePath_;
    bool portOpen_ = false;
    bool waitCancelled_ = false;  // for the open port

    // CTS as the emulator gives it, and the changes the status thread may not know yet.
    bool cts_ = false;
    bool ctsBefore_ = false;  // CTS before the first change still listed
    std::deque<CtsChange> changes_;
    std::uint64_t nextSequence_ = 1;
    std::uint64_t delivered_ = 0;  // last change reported by WaitModemEvent
    std::chrono::microseconds ctsDelay_{0};
    bool lockstep_ = false;
    bool waiterSeen_ = false;     // a status thread has waited on the open port
    std::uint64_t caughtUp_ = 0;  // changes taken in by the time it last began a wait
};

// Adds the device to the list as COM`number`.
void AddEmulatedPort(platform::SerialPortList& list, int number, const std::shared_ptr<EmulatedDevice>& device);
