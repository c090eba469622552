#pragma once
// The two-wire bus to the ORB-31's memory, clocked in software on the modem
// lines of a port component: RTS is the clock, DTR drives the data wire
// ("high" releases it), CTS senses it. The memory answers like a 1024-byte
// serial EEPROM (device code 1010, address bits 9 and 8 in the control byte,
// pages of 16 bytes, a write cycle after each STOP).
//
// Everything runs on the thread that owns the port. The waits busy-wait on
// the C library's pseudo-random generator, so their length follows the
// processor. The data line is sampled after a settle wait, which the speed
// slider sets, so that a line (or an adapter) slow to report a change has
// reported it: a slower speed is the answer to a slow line.
//
// The sample asks the driver for CTS at that moment. The port's status thread
// keeps CTS too, but it has to be scheduled to do so, and the busy waits keep
// a processor to themselves: on a loaded machine it was measured to lag by
// milliseconds, longer than the slowest settle wait, and reads came back with
// wrong bits at every speed. LineSampling::kStatusThread samples its copy
// instead, for measuring that.
//
// Bits travel as texts of '0' and '1', most significant bit first: 8 for a
// byte, 10 for a memory address.

#include <string>
#include <vector>

#include "records.h"

class DeviceControls;
class Reporter;
class TCommPort;

enum class LineSampling {
    kDriver,        // the line as the driver reports it when sampled
    kStatusThread,  // the CTS property, the last state the status thread saw
};

class DeviceBus {
public:
    // The port is set up by its owner (LoadCommPort1Properties); the bus only
    // opens, drives, samples and closes it.
    DeviceBus(TCommPort& port, DeviceControls& controls, Reporter& reporter);

    // Calls the pseudo-random generator n * 100 + 1 times; 0 counts as 70.
    static void Delay(int n);
    void ShortWait();   // Delay(5)
    void SettleWait();  // Delay((20 - speed) * 100); speed 20 gives Delay(70)

    // assert: clock and data high. Leaves data low.
    void BusStart();
    // Leaves the bus idle: clock and data high.
    void BusStop();
    // Clocks the bits out, then reads the acknowledge. False, with "Нет ответа!
    // (ACK)" on the status line, when the device did not pull the wire low.
    bool SendBits(const std::string& bits);
    // True: acknowledged, clock left low. False: clock and data left high.
    bool ReadAck();
    // Clocks 8 bits in and acknowledges them. Leaves clock and data low.
    std::string ReadByteBits();

    // Byte address cell * 8 as 10 bits; the report area's block b is cell 100 + 2b.
    static std::string CellAddressBits(int cell);
    // "10100", address bits 9 and 8, then '1' to read or '0' to write.
    static std::string ControlBits(const std::string& addressBits, bool read);
    // Address bits 7..0.
    static std::string WordAddressBits(const std::string& addressBits);
    // A byte value as 8 bits.
    static std::string ByteBits(int value);

    // One write transaction of list[index].KeyHex into cell `index`, then the
    // write cycle's sleep. A failed send ends it at once, without a STOP.
    bool WriteCell(const std::vector<BaseRecord>& list, int index);
    // bytes (0..255) into the report area from byte 800, 16 per transaction.
    bool WriteReportArea(const std::vector<int>& bytes);
    // One read from address 0: `count` cells (0: all 100, then the report
    // text up to its first 0 byte into MEMO_Report) as records with KeyHex.
    // The device may still hold the wire after it; the end of the operation
    // resets the bus.
    bool ReadMemory(std::vector<BaseRecord>& cells, int count);

    // Opens the port if it is closed, then empties both directions. A port
    // that cannot be opened is not reported: its data line reads low.
    void OpenComPort(int number);
    void CloseComPort();
    // 21 closes and opens with both lines high: a clock pulse each, which lets
    // a device still sending go. Ends with the chosen port open, lines high.
    void ResetBus();
    bool DataLineHigh();
    void SetLineSampling(LineSampling sampling) { sampling_ = sampling; }
    // CB_ComPorts as a decimal number; 1 when it is not one.
    int ChosenPort() const;

    // The port poll's test of one port; the port is closed afterwards.
    bool ProbePort(int number);
    // The wire part of the start of a device operation: bus reset, idle lines,
    // and whether the device then holds the data line high.
    bool StartOperation();
    // The wire part of its end: bus reset, port closed. Whether the device,
    // free again after the reset, held the data line high.
    bool EndOperation();
    // The end of a memory read: bus reset, port closed; as EndOperation.
    bool EndReadOperation();

private:
    // START, then the control byte to write and the word address of the cell:
    // the opening of every transaction, a read's too (it sets the address).
    bool AddressCell(int cell);
    // A line change and the short wait after it.
    void Clock(bool high);
    void Data(bool high);

    TCommPort& port_;
    DeviceControls& controls_;
    Reporter& reporter_;
    LineSampling sampling_ = LineSampling::kDriver;
};
