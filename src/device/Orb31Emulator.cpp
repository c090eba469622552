#include "Orb31Emulator.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr std::uint8_t kDeviceCodeMask = 0xF8;  // 1010, chip select, not the address or direction bits
constexpr std::uint8_t kDeviceCode = 0xA0;      // 1010 with chip select 0

}  // namespace

Orb31Emulator::Orb31Emulator(Clock clock)
    : now_(clock ? std::move(clock) : Clock([] { return std::chrono::steady_clock::now(); })) {
    memory_.fill(0xFF);
    page_.fill(-1);
}

bool Orb31Emulator::Wire() const {
    if (wireFault_ == WireFault::StuckLow) return false;
    if (wireFault_ == WireFault::StuckHigh) return true;
    return dtr_ && !driveLow_;
}

bool Orb31Emulator::Cts() const {
    return connected_ && Wire();
}

bool Orb31Emulator::Busy() const {
    return now_() < busyUntil_;
}

void Orb31Emulator::SetDtr(bool high) {
    dtr_ = high;
    Update();
}

void Orb31Emulator::SetRts(bool high) {
    rts_ = high;
    Update();
}

void Orb31Emulator::SetWireFault(WireFault fault) {
    wireFault_ = fault;
    Update();
}

void Orb31Emulator::SetConnected(bool connected) {
    connected_ = connected;
    GoIdle();
    unplugAfter_ = 0;
    // A device plugged in takes the lines as they are now; no edge is seen.
    lastScl_ = rts_;
    lastSda_ = Wire();
}

void Orb31Emulator::FailAckFromByte(int n) {
    failAckFrom_ = n;
    acceptedBytes_ = 0;
}

void Orb31Emulator::SetFlippedBit(int address, int bit) {
    flipped_[static_cast<std::size_t>(address % kMemorySize)] ^= static_cast<std::uint8_t>(1u << (bit & 7));
}

void Orb31Emulator::ClearFlippedBits() {
    flipped_.fill(0);
}

void Orb31Emulator::UnplugAfterClocks(int n) {
    unplugAfter_ = n;
}

// One host line or a fault has changed: at most one wire changes per call.
void Orb31Emulator::Update() {
    if (!connected_) {
        lastScl_ = rts_;
        lastSda_ = Wire();
        return;
    }
    const bool scl = rts_;
    const bool sda = Wire();
    if (scl != lastScl_) {
        lastScl_ = scl;
        lastSda_ = sda;
        if (scl) {
            ClockRose(sda);
            if (unplugAfter_ > 0 && --unplugAfter_ == 0) SetConnected(false);
        } else {
            ClockFell();
        }
    } else if (sda != lastSda_) {
        lastSda_ = sda;
        if (scl) sda ? Stop() : Start();
    }
    // The device's own output changes only while the clock is low.
    lastSda_ = Wire();
}

void Orb31Emulator::ClockRose(bool sda) {
    if (phase_ == Phase::Idle || ackSlot_) return;
    ++pulses_;
    if (phase_ == Phase::ReadData) {
        if (pulses_ == 9) hostAck_ = !sda;
        return;
    }
    if (pulses_ <= 8) shift_ = static_cast<std::uint8_t>((shift_ << 1) | (sda ? 1 : 0));
}

void Orb31Emulator::ClockFell() {
    if (phase_ == Phase::Idle) return;
    if (ackSlot_) {
        // End of the ninth clock: let the wire go, then send if reading.
        ackSlot_ = false;
        driveLow_ = false;
        pulses_ = 0;
        shift_ = 0;
        if (phase_ == Phase::ReadData) SendNextByte();
        return;
    }
    if (phase_ == Phase::ReadData) {
        if (pulses_ < 8) {
            DriveBit(7 - pulses_);
        } else if (pulses_ == 8) {
            driveLow_ = false;  // the host's acknowledge slot
        } else if (pulses_ == 9) {
            if (hostAck_)
                SendNextByte();
            else
                GoIdle();
        }
        return;
    }
    if (pulses_ == 8) {
        if (Accept(shift_)) {
            ackSlot_ = true;
            driveLow_ = true;
        } else {
            GoIdle();
        }
    }
}

void Orb31Emulator::Start() {
    GoIdle();  // a START without a STOP aborts a page write
    phase_ = Phase::Control;
}

void Orb31Emulator::Stop() {
    if (phase_ == Phase::WriteData && pageDirty_) {
        for (int i = 0; i < kPageSize; ++i)
            if (page_[static_cast<std::size_t>(i)] >= 0)
                memory_[static_cast<std::size_t>(pageBase_ + i)] =
                    static_cast<std::uint8_t>(page_[static_cast<std::size_t>(i)]);
        written_ = true;
        busyUntil_ = now_() + writeCycle_;
    }
    GoIdle();
}

bool Orb31Emulator::Accept(std::uint8_t byte) {
    if (phase_ == Phase::Control && ((byte & kDeviceCodeMask) != kDeviceCode || Busy())) return false;
    ++acceptedBytes_;
    if (failAckFrom_ > 0 && acceptedBytes_ >= failAckFrom_) return false;
    switch (phase_) {
        case Phase::Control:
            block_ = (byte >> 1) & 3;
            phase_ = (byte & 1) ? Phase::ReadData : Phase::WordAddress;
            break;
        case Phase::WordAddress:
            address_ = (block_ << 8) | byte;
            pageBase_ = address_ & ~(kPageSize - 1);
            pageOffset_ = address_ & (kPageSize - 1);
            page_.fill(-1);
            pageDirty_ = false;
            phase_ = Phase::WriteData;
            break;
        case Phase::WriteData:
            page_[static_cast<std::size_t>(pageOffset_)] = byte;
            pageDirty_ = true;
            pageOffset_ = (pageOffset_ + 1) & (kPageSize - 1);
            address_ = pageBase_ + pageOffset_;
            break;
        default:
            break;
    }
    return true;
}

void Orb31Emulator::SendNextByte() {
    const auto at = static_cast<std::size_t>(address_);
    current_ = static_cast<std::uint8_t>(memory_[at] ^ flipped_[at]);
    address_ = (address_ + 1) % kMemorySize;
    pulses_ = 0;
    hostAck_ = false;
    DriveBit(7);
}

void Orb31Emulator::GoIdle() {
    phase_ = Phase::Idle;
    ackSlot_ = false;
    driveLow_ = false;
    pulses_ = 0;
    shift_ = 0;
    page_.fill(-1);
    pageDirty_ = false;
}

Orb31Emulator::ImageStatus Orb31Emulator::LoadImage(const std::string& path) {
    std::error_code ec;
    const auto type = std::filesystem::status(path, ec).type();
    if (type == std::filesystem::file_type::not_found) {
        memory_.fill(0xFF);
        written_ = false;
        return ImageStatus::Missing;
    }
    if (type != std::filesystem::file_type::regular) return ImageStatus::Unreadable;
    std::ifstream in(path, std::ios::binary);
    if (!in) return ImageStatus::Unreadable;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad() || bytes.size() != memory_.size()) return ImageStatus::Unreadable;
    for (std::size_t i = 0; i < memory_.size(); ++i) memory_[i] = static_cast<std::uint8_t>(bytes[i]);
    written_ = false;
    return ImageStatus::Loaded;
}

bool Orb31Emulator::SaveImage(const std::string& path) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(memory_.data()), static_cast<std::streamsize>(memory_.size()));
        out.flush();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    written_ = false;
    return true;
}
