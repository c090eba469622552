#include "EmulatedSerialPort.h"

#include <cerrno>

#include "SerialPortList.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Bounds the list of CTS changes when nobody waits for them.
constexpr std::size_t kMaxListedChanges = 4096;
// A lockstep line change gives up waiting for a status thread that hangs.
constexpr std::chrono::seconds kLockstepLimit{5};

}  // namespace

// The port side of the cable. Holds the device for as long as it is open.
class EmulatedSerialPort final : public platform::SerialPort {
public:
    explicit EmulatedSerialPort(std::shared_ptr<EmulatedDevice> device) : device_(std::move(device)) {}

    ~EmulatedSerialPort() override {
        EmulatedDevice& device = *device_;
        {
            std::lock_guard lock(device.mutex_);
            {
                const EmulatedDevice::CtsNotice notice{device};
                device.emulator_.SetRts(false);
                device.emulator_.SetDtr(false);
            }
            device.portOpen_ = false;
            device.waitCancelled_ = false;
            device.changes_.clear();
            device.ctsBefore_ = device.cts_;
        }
        device.SaveImage();
    }

    bool Configure(const platform::SerialLineSettings&) override { return true; }
    bool Purge(bool, bool) override { return true; }
    bool SetBreak(bool) override { return true; }

    bool SetDtr(bool on) override {
        SetLine([on](Orb31Emulator& e) { e.SetDtr(on); });
        return true;
    }

    bool SetRts(bool on) override {
        SetLine([on](Orb31Emulator& e) { e.SetRts(on); });
        return true;
    }

    bool GetControlLines(bool& dtr, bool& rts) override {
        std::lock_guard lock(device_->mutex_);
        dtr = device_->emulator_.Dtr();
        rts = device_->emulator_.Rts();
        return true;
    }

    bool GetModemStatus(unsigned& bits) override {
        std::lock_guard lock(device_->mutex_);
        bits = device_->SeenCtsLocked(SteadyClock::now()) ? unsigned{platform::kModemCts} : 0u;
        return true;
    }

    bool WaitModemEvent(unsigned mask, unsigned& events) override {
        events = 0;
        EmulatedDevice& device = *device_;
        std::unique_lock lock(device.mutex_);
        device.waiterSeen_ = true;
        device.caughtUp_ = device.delivered_;
        device.changed_.notify_all();
        while (!device.waitCancelled_) {
            const EmulatedDevice::CtsChange* next = nullptr;
            for (const auto& change : device.changes_)
                if (change.sequence > device.delivered_) {
                    next = &change;
                    break;
                }
            if (!next) {
                device.changed_.wait(lock);
                continue;
            }
            const auto due = next->at + device.ctsDelay_;
            const auto now = SteadyClock::now();
            if (now < due) {
                device.changed_.wait_until(lock, due);
                continue;
            }
            for (const auto& change : device.changes_)
                if (change.sequence > device.delivered_ && change.at + device.ctsDelay_ <= now)
                    device.delivered_ = change.sequence;
            device.ForgetDeliveredLocked(now);
            events = mask & platform::kEventCts;
            if (events) return true;
            device.caughtUp_ = device.delivered_;  // not watched: taken in all the same
            device.changed_.notify_all();
        }
        return false;
    }

    void CancelModemWait() override {
        std::lock_guard lock(device_->mutex_);
        device_->waitCancelled_ = true;
        device_->changed_.notify_all();
    }

    // Nothing on the other end speaks serial: bytes sent vanish, none arrive.
    long Read(void*, std::size_t) override { return 0; }
    long Write(const void*, std::size_t size) override { return static_cast<long>(size); }
    long InputQueued() override { return 0; }
    long OutputQueued() override { return 0; }

    int WaitReady(platform::IoSide side, int timeoutMs) override {
        if (side == platform::IoSide::Output) return 1;
        std::unique_lock lock(ioMutex_);
        auto interrupted = [this] { return inputInterrupted_; };
        if (timeoutMs < 0)
            ioChanged_.wait(lock, interrupted);
        else
            ioChanged_.wait_for(lock, std::chrono::milliseconds(timeoutMs), interrupted);
        inputInterrupted_ = false;
        return 0;
    }

    void Interrupt(platform::IoSide side) override {
        if (side == platform::IoSide::Output) return;
        std::lock_guard lock(ioMutex_);
        inputInterrupted_ = true;
        ioChanged_.notify_all();
    }

private:
    template <class Change>
    void SetLine(Change change) {
        EmulatedDevice& device = *device_;
        std::unique_lock lock(device.mutex_);
        {
            const EmulatedDevice::CtsNotice notice{device};
            change(device.emulator_);
        }
        const std::uint64_t target = device.nextSequence_ - 1;
        if (!device.lockstep_ || device.ctsDelay_.count() != 0 || !device.waiterSeen_) return;
        device.changed_.wait_for(lock, kLockstepLimit,
                                 [&] { return device.caughtUp_ >= target || device.waitCancelled_; });
    }

    std::shared_ptr<EmulatedDevice> device_;
    std::mutex ioMutex_;
    std::condition_variable ioChanged_;
    bool inputInterrupted_ = false;
};

EmulatedDevice::EmulatedDevice(Orb31Emulator::Clock clock) : emulator_(std::move(clock)) {
    cts_ = ctsBefore_ = emulator_.Cts();
}

EmulatedDevice::~EmulatedDevice() {
    SaveImage();
}

Orb31Emulator::ImageStatus EmulatedDevice::UseImage(const std::string& path) {
    std::lock_guard lock(mutex_);
    const auto status = emulator_.LoadImage(path);
    if (status != Orb31Emulator::ImageStatus::Unreadable) imagePath_ = path;
    return status;
}

bool EmulatedDevice::SaveImage() {
    std::lock_guard lock(mutex_);
    if (imagePath_.empty() || !emulator_.Written()) return true;
    return emulator_.SaveImage(imagePath_);
}

std::unique_ptr<platform::SerialPort> EmulatedDevice::OpenPort(int& error) {
    std::lock_guard lock(mutex_);
    if (portOpen_) {
        error = EBUSY;
        return nullptr;
    }
    error = 0;
    portOpen_ = true;
    waitCancelled_ = false;
    waiterSeen_ = false;
    changes_.clear();
    cts_ = ctsBefore_ = emulator_.Cts();
    delivered_ = caughtUp_ = nextSequence_ - 1;
    return std::make_unique<EmulatedSerialPort>(shared_from_this());
}

bool EmulatedDevice::PortOpen() const {
    std::lock_guard lock(mutex_);
    return portOpen_;
}

void EmulatedDevice::SetCtsDelay(std::chrono::microseconds delay) {
    std::lock_guard lock(mutex_);
    ctsDelay_ = delay;
    changed_.notify_all();
}

void EmulatedDevice::SetLockstep(bool on) {
    std::lock_guard lock(mutex_);
    lockstep_ = on;
}

void EmulatedDevice::NoteCtsLocked() {
    const bool cts = emulator_.Cts();
    if (cts == cts_) return;
    cts_ = cts;
    if (!portOpen_) {
        ctsBefore_ = cts;
        return;
    }
    if (changes_.size() >= kMaxListedChanges) {
        ctsBefore_ = changes_.front().cts;
        if (delivered_ < changes_.front().sequence) delivered_ = changes_.front().sequence;
        changes_.pop_front();
    }
    changes_.push_back({nextSequence_++, SteadyClock::now(), cts});
    changed_.notify_all();
}

bool EmulatedDevice::SeenCtsLocked(TimePoint now) const {
    bool cts = ctsBefore_;
    for (const auto& change : changes_) {
        if (change.at + ctsDelay_ > now) break;
        cts = change.cts;
    }
    return cts;
}

void EmulatedDevice::ForgetDeliveredLocked(TimePoint now) {
    while (!changes_.empty() && changes_.front().sequence <= delivered_ && changes_.front().at + ctsDelay_ <= now) {
        ctsBefore_ = changes_.front().cts;
        changes_.pop_front();
    }
}

void AddEmulatedPort(platform::SerialPortList& list, int number, const std::shared_ptr<EmulatedDevice>& device) {
    std::weak_ptr<EmulatedDevice> weak = device;
    list.AddPort(number, kEmulatorDeviceName, kEmulatorDriverName,
                 [weak](int& error) -> std::unique_ptr<platform::SerialPort> {
                     if (auto held = weak.lock()) return held->OpenPort(error);
                     error = ENODEV;
                     return nullptr;
                 });
}
