#pragma once
// The device dialog's commands without its widgets: write with verification,
// clear, read, and the presence probe of the port poll. The dialog owns one,
// hands it its port component, its controls (DeviceControls) and the status
// line (Reporter), and calls a command from its handler; the command runs to
// its end on the calling thread and leaves the port closed.
//
// Every operation has its frame: BeginDeviceOperation / EndDeviceOperation
// for writing, verifying and clearing, BeginReadOperation / EndReadOperation
// for reading. Every start tests that the device holds the data line high,
// the read's too, so that an absent device is never read as 99 keys of
// zeros; the ends of the read and of the clear test it again once the bus
// is reset, since a device pulled out part-way acknowledges everything and
// reads as zeros, and only the write reads its work back.

#include <string>
#include <vector>

#include "device_bus.h"
#include "records.h"

class DeviceControls;
class Reporter;
class TCommPort;
struct SerialRecord;
namespace platform {
class SerialPortList;
}

enum class DeviceResult {
    kDone,
    kNoDevice,      // "Подключите прибор!"
    kNoAck,         // a transaction was not acknowledged ("Нет ответа! (ACK)")
    kVerifyFailed,  // the keys read back differ ("Ошибка при записи в прибор!")
    kKeyCrcFault,   // read, but a key's check byte is wrong (the keys are there all the same)
};

class DeviceOperations {
public:
    DeviceOperations(TCommPort& port, DeviceControls& controls, Reporter& reporter);

    DeviceBus& Bus() { return bus_; }

    // The write command: the cell list of the entries and the report text of
    // MEMO_Report, written, then read back and compared.
    DeviceResult WriteEntries(const std::vector<BaseRecord>& entries);
    // The clear command: 100 blank cells and a report area of zeros, not read back.
    DeviceResult ClearMemory();
    // The read command: the keys up to the first blank cell into `keys`, the
    // report text into MEMO_Report, then the key check. `keys` is left as it
    // was unless the read went through (kDone or kKeyCrcFault).
    DeviceResult ReadKeys(std::vector<BaseRecord>& keys);

    // The port poll: the ports numbered 1 and 2 of the list the port
    // component opens from, each probed; DeviceName is "device" where the
    // device answered. The port is closed afterwards.
    std::vector<SerialRecord> PollPorts(const platform::SerialPortList& list);

    // Tests the keys read; reports the first faulty one on the status line
    // and in a message box. True when all are sound.
    bool CheckKeyCrcs(const std::vector<BaseRecord>& keys);

    // The operation frames; each returns whether the device is present.
    bool BeginDeviceOperation(bool writing, int cells);
    bool EndDeviceOperation();
    bool BeginReadOperation();
    bool EndReadOperation();

private:
    void ReportNoDevice();
    // On the status line and in a message box: "Сообщение" for a success,
    // "Ошибка" for a failure.
    void Announce(const std::string& text, bool success);
    DeviceResult NoDevice(bool reading);
    bool WriteCells(const std::vector<BaseRecord>& cells);
    void StartFrame(const std::string& text, const std::string& gradientEnd, int progressMaximum);

    DeviceControls& controls_;
    Reporter& reporter_;
    DeviceBus bus_;
};
