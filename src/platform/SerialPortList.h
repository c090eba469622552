#pragma once
// The serial ports of the machine, numbered as COM ports: what the system's
// list of serial devices is elsewhere. Three sources, in this order of
// precedence:
//  - ports the program provides itself (AddPort), e.g. an emulated device;
//  - the [PORTS] section of the configuration file: "COM3=/dev/ttyUSB1"
//    (a bare name means a device in /dev); listed while the device exists;
//  - the ttys found under /sys/class/tty: USB adapters (ttyUSB*, ttyACM*)
//    first, then UARTs whose driver reports a real port type (a ttyS that
//    only stands for a possible UART reports type 0 and is left out). They
//    take the lowest numbers not taken otherwise, so a machine with one
//    USB-serial adapter offers it as COM1 with no configuration.
// The list is read afresh on every call, so ports that come and go show.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "SerialPort.h"

namespace platform {

struct SerialPortEntry {
    int number = 0;          // n of COMn, 1..kMaxPortNumber
    std::string portName;    // "COMn"
    std::string deviceName;  // the driver's name for the device, e.g. "ttyUSB0"
    std::string path;        // "/dev/ttyUSB0"; empty for a port the program provides
    std::string driver;      // the kernel driver ("ftdi_sio"), or what provides the port; may be empty
};

inline constexpr int kMaxPortNumber = 255;

// A tty found in the system.
struct TtyDevice {
    std::string name;    // "ttyUSB0"
    std::string path;    // "/dev/ttyUSB0"
    std::string driver;  // may be empty
};

// The serial ttys under `sysClassTty` (normally /sys/class/tty), in the order
// they are numbered in; device files are looked for in `devFolder`.
std::vector<TtyDevice> ScanTtyDevices(const std::string& sysClassTty, const std::string& devFolder);

// "COMn=path" lines of [PORTS] (a bare name is taken from `devFolder`); other
// lines, numbers out of range and empty paths are left out. A later line for
// the same number wins.
std::vector<std::pair<int, std::string>> ReadPortsSection(const std::string& configPath, const std::string& devFolder);

class SerialPortList {
public:
    // nullptr when the port cannot be had; error receives an errno value.
    using Opener = std::function<std::unique_ptr<SerialPort>(int& error)>;

    // Empty folders mean no scan (only configured and added ports).
    SerialPortList(std::string sysClassTty, std::string devFolder);

    // The list the program and the command-line tool see: /sys/class/tty and /dev.
    static SerialPortList& System();

    // The configuration file whose [PORTS] section counts; empty for none.
    void SetConfigPath(std::string path);

    // A port the program provides; replaces one already added with the number.
    void AddPort(int number, std::string deviceName, std::string driver, Opener open);
    void RemovePort(int number);

    std::vector<SerialPortEntry> Ports() const;

    // Opens COM`number` for this program alone.
    std::unique_ptr<SerialPort> Open(int number, int& error) const;

private:
    struct AddedPort {
        int number;
        std::string deviceName, driver;
        Opener open;
    };

    const std::string sysClassTty_;
    const std::string devFolder_;
    mutable std::mutex mutex_;
    std::string configPath_;
    std::vector<AddedPort> added_;
};

}  // namespace platform
