#pragma once
// The port list as the device link sees it, and the start options that put
// the emulated ORB-31 on a port:
//   --emulate-device[=IMAGE]  attach the emulator; IMAGE is a raw 1024-byte
//                             memory image, read at start and written back
//                             after every write (a missing file starts blank);
//                             without it the memory lasts for the run
//   --emulate-port N          its port number, 1 to 255 (default 1)

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

struct EmulatorOptions {
    bool enabled = false;
    std::string image;  // empty: the memory lasts for the run
    int port = 1;
};

// Takes the emulator options out of args and leaves the rest in order. False
// with a message (CP1251) for a bad option.
bool TakeEmulatorOptions(std::vector<std::string>& args, EmulatorOptions& options, std::string& error);

// The emulated device on its port for as long as the object lives.
class EmulatorSession {
public:
    EmulatorSession() = default;
    // Takes the port away; the device writes its image back if it was written to.
    ~EmulatorSession();
    EmulatorSession(const EmulatorSession&) = delete;
    EmulatorSession& operator=(const EmulatorSession&) = delete;

    // Does nothing when the options do not ask for the emulator. False with a
    // message (CP1251) when the image cannot be read; no port is added then.
    bool Start(const EmulatorOptions& options, platform::SerialPortList& list, std::string& error);

    // nullptr when no emulator was started.
    const std::shared_ptr<EmulatedDevice>& Device() const { return device_; }
    int PortNumber() const { return port_; }

private:
    platform::SerialPortList* list_ = nullptr;
    std::shared_ptr<EmulatedDevice> device_;
    int port_ = 0;
};

// A program's start: the [PORTS] section of `configPath` and the emulator
// options of the command line (argv is left as it is) for the system's port
// list. False with a message (CP1251); the ports are usable all the same.
bool SetUpSerialPorts(const std::string& configPath, int argc, char** argv, EmulatorSession& session,
                      std::string& error);
