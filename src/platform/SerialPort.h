#pragma once
// One open serial port, whatever drives it: a tty of the system or a port the
// program provides itself. Opening is the port list's business (SerialPortList.h);
// destroying the object closes the port, which drops DTR and RTS as any close does.
//
// The methods may be called from several threads at once (the status, reader
// and writer threads of a port component and its owner); each one is safe
// against the others.

#include <cstddef>

namespace platform {

enum class Parity { None = 0, Odd = 1, Even = 2, Mark = 3, Space = 4 };
enum class StopBits { One = 0, OneAndHalf = 1, Two = 2 };
enum class FlowControl { None, Software, Hardware };

struct SerialLineSettings {
    int baud = 9600;   // bits per second
    int dataBits = 8;  // 5..8
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    FlowControl flow = FlowControl::None;
    unsigned char xonChar = 17;
    unsigned char xoffChar = 19;
};

// Modem-status bits, as a port reports its input lines.
enum ModemStatusBit : unsigned {
    kModemCts = 0x10,
    kModemDsr = 0x20,
    kModemRing = 0x40,
    kModemDcd = 0x80,
};

// Comm events; the modem-line ones are what WaitModemEvent reports.
enum CommEventBit : unsigned {
    kEventRxChar = 0x001,
    kEventRxFlag = 0x002,
    kEventTxEmpty = 0x004,
    kEventCts = 0x008,
    kEventDsr = 0x010,
    kEventRlsd = 0x020,  // DCD
    kEventBreak = 0x040,
    kEventError = 0x080,
    kEventRing = 0x100,
};
inline constexpr unsigned kModemEvents = kEventCts | kEventDsr | kEventRlsd | kEventRing;

enum class IoSide { Input, Output };

class SerialPort {
public:
    virtual ~SerialPort() = default;

    virtual bool Configure(const SerialLineSettings& settings) = 0;
    // Discards what waits in the driver's queues.
    virtual bool Purge(bool input, bool output) = 0;

    // Drive an output line; false when the driver refused (the line is then unchanged).
    virtual bool SetDtr(bool on) = 0;
    virtual bool SetRts(bool on) = 0;
    virtual bool SetBreak(bool on) = 0;
    // The output lines as the driver holds them.
    virtual bool GetControlLines(bool& dtr, bool& rts) = 0;
    // ModemStatusBit values of the input lines; false when they cannot be read.
    virtual bool GetModemStatus(unsigned& bits) = 0;

    // Blocks until one of the modem lines in `mask` (CommEventBit values) has
    // changed since the previous call, and reports which in `events`. Returns
    // false when cancelled or when the port failed. After CancelModemWait every
    // wait, pending or later, returns false at once.
    virtual bool WaitModemEvent(unsigned mask, unsigned& events) = 0;
    virtual void CancelModemWait() = 0;

    // Data path, never blocking: bytes moved, or -1 on failure.
    virtual long Read(void* buffer, std::size_t size) = 0;
    virtual long Write(const void* data, std::size_t size) = 0;
    // Bytes waiting in the driver's input resp. output queue; -1 on failure.
    virtual long InputQueued() = 0;
    virtual long OutputQueued() = 0;
    // Blocks until the side can move data (1), Interrupt was called or the
    // time ran out (0), or the port failed (-1). timeoutMs < 0 waits without limit.
    virtual int WaitReady(IoSide side, int timeoutMs) = 0;
    // Wakes a WaitReady of that side, now or the next one to start.
    virtual void Interrupt(IoSide side) = 0;
};

}  // namespace platform
