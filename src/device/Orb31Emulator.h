#pragma once
// The ORB-31 as its serial lines see it: a 1024-byte two-wire serial EEPROM
// (device code 1010, chip-select bit 0, address bits 9 and 8 in the control
// byte) on a data wire that the host drives through DTR and senses through CTS,
// clocked by RTS. It reacts only to line edges, as the chip does:
//  - START and STOP are data edges while the clock is high; a START aborts
//    whatever was going on, a STOP ends it;
//  - bits are taken on the rising clock edge; the device changes its own
//    output only after a falling edge, so it never makes a START or STOP;
//  - after the eighth bit of a byte it accepts, it pulls the wire low for the
//    ninth clock (its acknowledge);
//  - page writes of up to 16 bytes wrap inside their 16-byte page and are
//    stored at the STOP, which starts a write cycle of about 5 ms during which
//    the device acknowledges nothing;
//  - reads run on across the memory and wrap at 1024; after the host
//    acknowledges a byte, the last one too, the device drives the next one,
//    so a STOP right after a read only takes effect when the wire it holds
//    low happens to be free; clocking it through the byte with the data line
//    released (no acknowledge) lets it go.
// The wire is low when either side pulls it low. Not thread-safe; EmulatedDevice
// guards it for a port.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class Orb31Emulator {
public:
    static constexpr int kMemorySize = 1024;
    static constexpr int kPageSize = 16;
    using TimePoint = std::chrono::steady_clock::time_point;
    using Clock = std::function<TimePoint()>;
    using Memory = std::array<std::uint8_t, kMemorySize>;

    enum class Phase { Idle, Control, WordAddress, WriteData, ReadData };
    enum class WireFault { None, StuckLow, StuckHigh };
    enum class ImageStatus { Loaded, Missing, Unreadable };

    // Blank memory (all 0xFF), connected, both host lines low. The clock times
    // the write cycle; steady_clock when none is given.
    explicit Orb31Emulator(Clock clock = {});

    // Host side. dtr true releases the data wire, false pulls it low.
    void SetDtr(bool high);
    void SetRts(bool high);
    bool Dtr() const { return dtr_; }
    bool Rts() const { return rts_; }
    // What CTS reads: the data wire, or low when the device is not connected.
    bool Cts() const;

    // Unplugging loses the transfer in progress, never the memory.
    void SetConnected(bool connected);
    bool Connected() const { return connected_; }

    const Memory& Contents() const { return memory_; }
    Memory& Contents() { return memory_; }
    // A raw 1024-byte image. A missing file leaves the memory blank; a file of
    // any other size, or one that cannot be read, leaves it unchanged.
    ImageStatus LoadImage(const std::string& path);
    // Replaces the file in one step; false when it could not be written.
    bool SaveImage(const std::string& path);
    // True once a write cycle stored something since the last load or save.
    bool Written() const { return written_; }

    // Faults for tests.
    // Bytes the device would acknowledge are counted from this call on; from
    // the n-th one the device acknowledges none. 0 ends the fault.
    void FailAckFromByte(int n);
    void SetWireFault(WireFault fault);
    // That bit of that byte reads inverted over the bus, whatever is written.
    void SetFlippedBit(int address, int bit);
    void ClearFlippedBits();
    // The device is unplugged on the n-th rising clock edge from now; 0 ends it.
    void UnplugAfterClocks(int n);
    void SetWriteCycle(std::chrono::microseconds duration) { writeCycle_ = duration; }

    // Observation for tests.
    Phase State() const { return phase_; }
    bool Busy() const;
    bool DrivingLow() const { return driveLow_; }
    int AddressCounter() const { return address_; }

private:
    bool Wire() const;
    void Update();
    void ClockRose(bool sda);
    void ClockFell();
    void Start();
    void Stop();
    // Decides the acknowledge of a received byte and acts on it.
    bool Accept(std::uint8_t byte);
    void SendNextByte();
    void DriveBit(int bit) { driveLow_ = ((current_ >> bit) & 1) == 0; }
    void GoIdle();

    Clock now_;
    Memory memory_{};
    Memory flipped_{};  // per byte, the bits that read inverted
    bool written_ = false;

    bool dtr_ = false, rts_ = false;  // host lines
    bool connected_ = true;
    bool driveLow_ = false;                   // the device's open-drain output
    bool lastScl_ = false, lastSda_ = false;  // the wires as the device last saw them

    Phase phase_ = Phase::Idle;
    bool ackSlot_ = false;  // inside the ninth clock of a byte the device acknowledges
    int pulses_ = 0;        // rising edges seen in the current byte, 0..9
    std::uint8_t shift_ = 0;
    std::uint8_t current_ = 0;  // the byte being sent
    bool hostAck_ = false;
    int block_ = 0;    // address bits 9 and 8 of the control byte
    int address_ = 0;  // the internal address counter, 0..1023

    // Page write in progress, stored at the STOP.
    int pageBase_ = 0, pageOffset_ = 0;
    std::array<std::int16_t, kPageSize> page_{};  // -1 where nothing was written
    bool pageDirty_ = false;

    std::chrono::microseconds writeCycle_{5000};
    TimePoint busyUntil_{};

    int failAckFrom_ = 0, acceptedBytes_ = 0;
    WireFault wireFault_ = WireFault::None;
    int unplugAfter_ = 0;
};
