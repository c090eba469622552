// The device commands: the ORB-31 on a serial port (or emulated), with the
// device dialog's own sequences and messages.
#include <string>
#include <vector>

#include "CommPort.h"
#include "Cp1251.h"
#include "FileAttributes.h"
#include "SerialPortList.h"
#include "cli_database.h"
#include "cli_device.h"
#include "cli_reporter.h"
#include "commands.h"
#include "config.h"
#include "device_controls.h"
#include "device_memory.h"
#include "device_operations.h"
#include "key_text.h"
#include "marked_entries.h"
#include "text_helpers.h"

using namespace cp1251_literals;

namespace {

struct DeviceRequest {
    std::string command;
    int port = 0;  // 0: ComPort of the configuration
    int speed = kSpeedDefault;
    std::string db;
    bool all = false;
    std::vector<std::string> addresses;  // CP1251
    bool textGiven = false;
    std::string text;  // CP1251
};

bool ParseNumber(const std::string& text, int low, int high, int& value) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = StrToIntDef(text, 0);
    return value >= low && value <= high;
}

// Options take their value as the next argument or after "=".
bool ParseDeviceArgs(const CliArgs& args, DeviceRequest& request) {
    if (args.empty()) return false;
    request.command = args[0];
    bool afterMark = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        std::string option = args[i], value;
        bool hasValue = false;
        if (const auto eq = option.find('='); option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option.resize(eq);
            hasValue = true;
        }
        auto take = [&] {
            if (!hasValue && i + 1 < args.size()) {
                value = args[++i];
                hasValue = true;
            }
            afterMark = false;
            return hasValue;
        };
        if (option == "--port") {
            if (!take() || !ParseNumber(value, 1, platform::kMaxPortNumber, request.port)) return false;
        } else if (option == "--speed") {
            if (!take() || !ParseNumber(value, kSpeedMin, kSpeedMax, request.speed)) return false;
        } else if (option == "--db") {
            if (!take() || value.empty()) return false;
            request.db = value;
        } else if (option == "--text") {
            if (!take()) return false;
            request.text = ArgToCp1251(value);
            request.textGiven = true;
        } else if (option == "--all" && !hasValue) {
            request.all = true;
            afterMark = false;
        } else if (option == "--mark" && !hasValue) {
            afterMark = true;
        } else if (afterMark && !hasValue) {
            request.addresses.push_back(ArgToCp1251(args[i]));
        } else {
            return false;
        }
    }
    if (request.command == "write") return !request.db.empty() && request.all != !request.addresses.empty();
    const bool known = request.command == "probe" || request.command == "read" || request.command == "clear";
    return known && request.db.empty() && !request.all && request.addresses.empty() && !request.textGiven;
}

// ComPort of vestorin.cfg in the current folder; a missing file is not made.
int ConfiguredPort() {
    CfgClass config;
    if (platform::FileExists(config.ConfigPath())) config.ReadConfig();
    return config.ComPort;
}

int ExitStatus(DeviceResult result) {
    switch (result) {
        case DeviceResult::kDone:
            return kExitOk;
        case DeviceResult::kNoDevice:
            return kExitNoDevice;
        case DeviceResult::kNoAck:
            return kExitNoAck;
        case DeviceResult::kVerifyFailed:
            return kExitVerifyFailed;
        case DeviceResult::kKeyCrcFault:
            return kExitKeyCrcFault;
    }
    return kExitNoDevice;
}

// The entries of the marked addresses, as the device dialog collects them.
int CollectForWrite(const DeviceRequest& request, CliReporter& report, CliContext& io,
                    std::vector<BaseRecord>& entries) {
    DatabaseModel model(report);
    if (const int status = OpenForCommand(model, request.db); status != kExitOk) return status;
    if (!MarkAddresses(model, request.all, request.addresses, io)) return kExitBadArguments;
    CollectMarkedEntries(model, entries, kDeviceKeyCells);
    if (request.text.size() > static_cast<std::size_t>(kReportAreaSize)) {
        io.err << "vestorin-cli: ";
        PrintLine(io.err, "текст длиннее "_cp + std::to_string(kReportAreaSize) + " символов, записаны первые "_cp +
                              std::to_string(kReportAreaSize));
    }
    return kExitOk;
}

}  // namespace

int RunDeviceCommand(const CliArgs& arguments, CliContext& io) {
    CliArgs args = arguments;
    DeviceSession session;
    if (const int status = SetUpDevicePorts(args, io, session); status != kExitOk) return status;
    DeviceRequest request;
    if (!ParseDeviceArgs(args, request)) {
        io.err << "usage: vestorin-cli device " << kDeviceCommandUsage << '\n';
        return kExitBadArguments;
    }
    CliReporter report(io);
    std::vector<BaseRecord> entries;
    if (request.command == "write")
        if (const int status = CollectForWrite(request, report, io, entries); status != kExitOk) return status;

    const int portNumber = request.port != 0 ? request.port : ConfiguredPort();
    TCommPort port;
    LoadCommPort1Properties(port);
    FixedDeviceControls controls(request.speed, portNumber, request.text);
    DeviceOperations operations(port, controls, report);

    if (request.command == "probe") {
        const bool present = operations.Bus().ProbePort(portNumber);
        PrintLine(io.out,
                  "COM" + std::to_string(portNumber) + (present ? ": прибор отвечает"_cp : ": прибор не отвечает"_cp));
        return present ? kExitOk : kExitNoDevice;
    }
    if (request.command == "clear") return ExitStatus(operations.ClearMemory());
    if (request.command == "write") return ExitStatus(operations.WriteEntries(entries));

    std::vector<BaseRecord> keys;
    const DeviceResult result = operations.ReadKeys(keys);
    if (result == DeviceResult::kDone || result == DeviceResult::kKeyCrcFault) {
        for (const auto& key : keys) PrintLine(io.out, SpaceKeyText(key.KeyHex));
        PrintLine(io.out, "Дополнительная информация:"_cp);
        PrintLine(io.out, controls.ReportText());
    }
    return ExitStatus(result);
}
