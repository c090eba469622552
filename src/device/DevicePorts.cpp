#include "DevicePorts.h"

#include <algorithm>

#include "BusTrace.h"
#include "CommPort.h"
#include "Cp1251.h"
#include "SerialPortList.h"
#include "text_helpers.h"

using namespace cp1251_literals;

namespace {

constexpr const char* kDeviceOption = "--emulate-device";
constexpr const char* kPortOption = "--emulate-port";
constexpr const char* kTraceOption = "--bus-trace=";
constexpr const char* kShortTraceOption = "--trace";

bool ParsePortNumber(const std::string& text, int& number, std::string& error) {
    const bool digitsOnly = !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
    const int value = digitsOnly && text.size() <= 3 ? StrToIntDef(text, 0) : 0;
    if (value < 1 || value > platform::kMaxPortNumber) {
        error = "Неверный номер порта эмулятора: '"_cp + cp1251::FromUtf8(text) + "' (нужно число от 1 до 255)"_cp;
        return false;
    }
    number = value;
    return true;
}

}  // namespace

std::vector<SerialRecord> ReadSerialPorts(const platform::SerialPortList& list) {
    const auto entries = list.Ports();
    std::vector<SerialRecord> records;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        SerialRecord record;
        std::string number;
        SplitTextNumber(entry->portName, record.PortName, number);
        record.PortNumber = StrToIntDef(number, 1);
        SplitTextNumber(entry->deviceName, record.DeviceName, number);
        record.DeviceNumber = StrToIntDef(number, 0);
        records.push_back(record);
    }
    std::stable_sort(records.begin(), records.end(),
                     [](const SerialRecord& a, const SerialRecord& b) { return a.PortNumber < b.PortNumber; });
    return records;
}

std::vector<SerialRecord> ReadSerialPorts() {
    return ReadSerialPorts(platform::SerialPortList::System());
}

bool TakeDeviceOptions(std::vector<std::string>& args, DeviceOptions& options, std::string& error) {
    std::vector<std::string> rest;
    bool portGiven = false;
    const std::string devicePrefix = std::string(kDeviceOption) + "=";
    const std::string portPrefix = std::string(kPortOption) + "=";
    const std::string tracePrefix = std::string(kShortTraceOption) + "=";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == kDeviceOption) {
            options.emulate = true;
        } else if (arg.rfind(kTraceOption, 0) == 0) {
            options.trace = arg.substr(std::string(kTraceOption).size());
            if (options.trace.empty()) {
                error = "После --bus-trace= нужно имя файла"_cp;
                return false;
            }
        } else if (arg == kShortTraceOption || arg.rfind(tracePrefix, 0) == 0) {
            options.trace = arg == kShortTraceOption ? (i + 1 < args.size() ? args[++i] : std::string())
                                                     : arg.substr(tracePrefix.size());
            if (options.trace.empty()) {
                error = "После --trace нужно имя файла"_cp;
                return false;
            }
        } else if (arg.rfind(devicePrefix, 0) == 0) {
            options.emulate = true;
            options.image = arg.substr(devicePrefix.size());
            if (options.image.empty()) {
                error = "После --emulate-device= нужно имя файла образа памяти"_cp;
                return false;
            }
        } else if (arg == kPortOption || arg.rfind(portPrefix, 0) == 0) {
            std::string value;
            if (arg == kPortOption) {
                if (i + 1 >= args.size()) {
                    error = "После --emulate-port нужен номер порта"_cp;
                    return false;
                }
                value = args[++i];
            } else {
                value = arg.substr(portPrefix.size());
            }
            if (!ParsePortNumber(value, options.port, error)) return false;
            portGiven = true;
        } else {
            rest.push_back(arg);
        }
    }
    if (portGiven && !options.emulate) {
        error = "--emulate-port имеет смысл только вместе с --emulate-device"_cp;
        return false;
    }
    args = std::move(rest);
    return true;
}

DeviceSession::~DeviceSession() {
    if (list_) list_->RemovePort(port_);
    if (tracing_) TCommPort::SetDefaultBusTrace(nullptr);
}

bool DeviceSession::StartEmulator(const DeviceOptions& options, platform::SerialPortList& list, std::string& error) {
    if (!options.emulate) return true;
    auto device = std::make_shared<EmulatedDevice>();
    if (!options.image.empty() && device->UseImage(options.image) == Orb31Emulator::ImageStatus::Unreadable) {
        error = "Образ памяти прибора не читается: "_cp + cp1251::FromUtf8(options.image) +
                " (нужен файл ровно 1024 байта)"_cp;
        return false;
    }
    if (list_) list_->RemovePort(port_);
    AddEmulatedPort(list, options.port, device);
    list_ = &list;
    device_ = std::move(device);
    port_ = options.port;
    return true;
}

bool DeviceSession::StartTrace(const DeviceOptions& options, std::string& error) {
    if (options.trace.empty()) return true;
    auto trace = std::make_shared<BusTrace>(options.trace);
    if (!trace->Ok()) {
        error = "Файл записи шины не создаётся: "_cp + cp1251::FromUtf8(options.trace);
        return false;
    }
    TCommPort::SetDefaultBusTrace(std::move(trace));
    tracing_ = true;
    return true;
}

bool SetUpSerialPorts(const std::string& configPath, int argc, char** argv, DeviceSession& session,
                      std::string& error) {
    auto& list = platform::SerialPortList::System();
    list.SetConfigPath(configPath);
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    DeviceOptions options;
    return TakeDeviceOptions(args, options, error) && session.StartEmulator(options, list, error) &&
           session.StartTrace(options, error);
}
