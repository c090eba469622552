#include <algorithm>

#include "Cp1251.h"
#include "SerialPortList.h"
#include "cli_device.h"
#include "commands.h"

using namespace cp1251_literals;

int RunPortsCommand(const CliArgs& arguments, CliContext& io) {
    CliArgs args = arguments;
    DeviceSession session;
    if (const int status = SetUpDevicePorts(args, io, session); status != kExitOk) return status;
    if (!args.empty()) {
        io.err << "usage: vestorin-cli ports " << kDeviceOptionsUsage << '\n';
        return kExitBadArguments;
    }
    const auto ports = platform::SerialPortList::System().Ports();
    if (ports.empty()) {
        PrintLine(io.out, "Последовательных портов нет"_cp);
        return kExitOk;
    }
    auto where = [](const platform::SerialPortEntry& port) { return port.path.empty() ? "emulator" : port.path; };
    std::size_t width = 0;
    for (const auto& port : ports) width = std::max(width, where(port).size());
    for (const auto& port : ports) {
        std::string line = port.portName;
        line.resize(std::max<std::size_t>(line.size() + 2, 7), ' ');
        const std::string place = where(port);
        line += place + std::string(width - place.size() + 2, ' ') + port.deviceName;
        if (!port.driver.empty()) line += " (" + port.driver + ")";
        // Paths are native UTF-8 already; only the program's texts need converting.
        io.out << line << '\n';
    }
    return kExitOk;
}
