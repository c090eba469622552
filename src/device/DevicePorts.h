#pragma once
// The port list as the device link sees it, and the start options of the
// program and the command-line tool for the device ports:
//   --emulate-device[=IMAGE]  attach the emulated ORB-31; IMAGE is a raw
//                             1024-byte memory image, read at start and written
//                             back after every write (a missing file starts
//                             blank); without it the memory lasts for the run
//   --emulate-port N          its port number, 1 to 255 (default 1)
//   --bus-trace=FILE          record the bus of every port opened into FILE (VCD);
//   --trace FILE              the same, also as --trace=FILE

#include <memory>
#include <string>
#include <vector>

#include "EmulatedSerialPort.h"

namespace platform {
class SerialPortList;
}

// One serial port as the device dialog keeps it.
struct SerialRecord {
    std::string PortName;  // the letters of the port name: "COM"
    int PortNumber = 0;
    std::string DeviceName;  // the letters of the driver's device name; "device" once the device answered there
    int DeviceNumber = 0;

    bool operator==(const SerialRecord&) const = default;
};

// The ports of the list, by PortNumber.
std::vector<SerialRecord> ReadSerialPorts(const platform::SerialPortList& list);
std::vector<SerialRecord> ReadSerialPorts();

class BusTrace;

struct DeviceOptions {
    bool emulate = false;
    std::string image;  // empty: the memory lasts for the run
    int port = 1;
    std::string trace;  // empty: no bus trace
};

// Takes the device options out of args and leaves the rest in order. False
// with a message (CP1251) for a bad option.
bool TakeDeviceOptions(std::vector<std::string>& args, DeviceOptions& options, std::string& error);

// What the options ask for, for as long as the object lives: the emulated
// device on its port, and the bus trace of the port components made meanwhile.
class DeviceSession {
public:
    DeviceSession() = default;
    // Takes the port away, the device writes its image back if it was written
    // to, and the trace is closed once no port component holds it.
    ~DeviceSession();
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // Does nothing when the options do not ask for the emulator. False with a
    // message (CP1251) when the image cannot be read; no port is added then.
    bool StartEmulator(const DeviceOptions& options, platform::SerialPortList& list, std::string& error);
    // Does nothing when no trace is asked for. False with a message (CP1251)
    // when the file cannot be written.
    bool StartTrace(const DeviceOptions& options, std::string& error);

    // nullptr when no emulator was started.
    const std::shared_ptr<EmulatedDevice>& Device() const { return device_; }
    int PortNumber() const { return port_; }

private:
    platform::SerialPortList* list_ = nullptr;
    std::shared_ptr<EmulatedDevice> device_;
    int port_ = 0;
    bool tracing_ = false;
};

// A program's start: the [PORTS] section of `configPath` and the device
// options of the command line (argv is left as it is) for the system's port
// list. False with a message (CP1251); the ports are usable all the same.
bool SetUpSerialPorts(const std::string& configPath, int argc, char** argv, DeviceSession& session, std::string& error);
