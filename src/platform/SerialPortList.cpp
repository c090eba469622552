#include "SerialPortList.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

#include "IniFile.h"
#include "PosixSerialPort.h"

namespace platform {
namespace fs = std::filesystem;
namespace {

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool IsUsbSerialName(const std::string& name) {
    return StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM");
}

// serial_core ports carry "type"; 0 is PORT_UNKNOWN, a UART slot with nothing behind it.
bool ReportsRealPortType(const fs::path& ttyFolder) {
    std::ifstream in(ttyFolder / "type");
    int type = 0;
    return in && (in >> type) && type != 0;
}

// The driver bound to the device or, past the serial core's own "port" and
// "ctrl" devices, to the nearest parent.
std::string DriverOf(const fs::path& deviceLink) {
    std::error_code ec;
    fs::path device = fs::canonical(deviceLink, ec);
    if (ec) return {};
    for (int level = 0; level < 4 && !device.empty(); ++level, device = device.parent_path()) {
        const fs::path target = fs::read_symlink(device / "driver", ec);
        if (ec) continue;
        if (target.string().find("serial-base") == std::string::npos) return target.filename().string();
    }
    return {};
}

// Sort key: USB adapters first, then the name's letters, then its number.
std::tuple<int, std::string, long> NumberingKey(const std::string& name) {
    std::size_t digits = name.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    const long number = digits < name.size() ? std::stol(name.substr(digits)) : -1;
    return {IsUsbSerialName(name) ? 0 : 1, name.substr(0, digits), number};
}

// "COM12" → 12; 0 for any other key.
int PortNumberOfKey(const std::string& key) {
    if (key.size() < 4 || std::toupper(static_cast<unsigned char>(key[0])) != 'C' ||
        std::toupper(static_cast<unsigned char>(key[1])) != 'O' ||
        std::toupper(static_cast<unsigned char>(key[2])) != 'M')
        return 0;
    int number = 0;
    for (std::size_t i = 3; i < key.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(key[i]))) return 0;
        number = number * 10 + (key[i] - '0');
        if (number > kMaxPortNumber) return 0;
    }
    return number;
}

std::string PortName(int number) {
    return "COM" + std::to_string(number);
}

std::string ResolvedPath(const std::string& path) {
    std::error_code ec;
    const fs::path resolved = fs::canonical(path, ec);
    return ec ? path : resolved.string();
}

}  // namespace

std::vector<TtyDevice> ScanTtyDevices(const std::string& sysClassTty, const std::string& devFolder) {
    std::vector<TtyDevice> found;
    if (sysClassTty.empty()) return found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysClassTty, ec)) {
        const std::string name = entry.path().filename().string();
        const fs::path folder = entry.path();
        if (!fs::exists(folder / "device", ec)) continue;  // virtual consoles, ptys
        if (!IsUsbSerialName(name) && !ReportsRealPortType(folder)) continue;
        const std::string path = devFolder + "/" + name;
        if (!fs::exists(path, ec)) continue;
        found.push_back({name, path, DriverOf(folder / "device")});
    }
    std::sort(found.begin(), found.end(),
              [](const TtyDevice& a, const TtyDevice& b) { return NumberingKey(a.name) < NumberingKey(b.name); });
    return found;
}

std::vector<std::pair<int, std::string>> ReadPortsSection(const std::string& configPath, const std::string& devFolder) {
    std::vector<std::pair<int, std::string>> ports;
    if (configPath.empty()) return ports;
    IniFile ini(configPath);
    if (!ini.Load()) return ports;
    for (const auto& [key, value] : ini.ReadSection("PORTS")) {
        const int number = PortNumberOfKey(key);
        if (number == 0 || value.empty()) continue;
        const std::string path = value.find('/') == std::string::npos ? devFolder + "/" + value : value;
        auto same = std::find_if(ports.begin(), ports.end(), [&](const auto& p) { return p.first == number; });
        if (same != ports.end())
            same->second = path;
        else
            ports.emplace_back(number, path);
    }
    return ports;
}

SerialPortList::SerialPortList(std::string sysClassTty, std::string devFolder)
    : sysClassTty_(std::move(sysClassTty)), devFolder_(std::move(devFolder)) {}

SerialPortList& SerialPortList::System() {
    static SerialPortList list("/sys/class/tty", "/dev");
    return list;
}

void SerialPortList::SetConfigPath(std::string path) {
    std::lock_guard lock(mutex_);
    configPath_ = std::move(path);
}

void SerialPortList::AddPort(int number, std::string deviceName, std::string driver, Opener open) {
    std::lock_guard lock(mutex_);
    auto same = std::find_if(added_.begin(), added_.end(), [&](const AddedPort& p) { return p.number == number; });
    AddedPort port{number, std::move(deviceName), std::move(driver), std::move(open)};
    if (same != added_.end())
        *same = std::move(port);
    else
        added_.push_back(std::move(port));
}

void SerialPortList::RemovePort(int number) {
    std::lock_guard lock(mutex_);
    std::erase_if(added_, [&](const AddedPort& p) { return p.number == number; });
}

std::vector<SerialPortEntry> SerialPortList::Ports() const {
    std::string configPath;
    std::vector<SerialPortEntry> entries;
    {
        std::lock_guard lock(mutex_);
        configPath = configPath_;
        for (const auto& port : added_)
            entries.push_back({port.number, PortName(port.number), port.deviceName, "", port.driver});
    }
    std::set<int> taken;
    for (const auto& entry : entries) taken.insert(entry.number);
    std::set<std::string> listedPaths;
    std::error_code ec;
    for (const auto& [number, path] : ReadPortsSection(configPath, devFolder_.empty() ? "/dev" : devFolder_)) {
        if (taken.count(number) || !fs::exists(path, ec)) continue;
        const std::string resolved = ResolvedPath(path);
        const std::string name = fs::path(resolved).filename().string();
        const fs::path sysFolder = fs::path(sysClassTty_) / name;
        const std::string driver = sysClassTty_.empty() ? std::string() : DriverOf(sysFolder / "device");
        entries.push_back({number, PortName(number), name, path, driver});
        taken.insert(number);
        listedPaths.insert(resolved);
    }
    int next = 1;
    for (const auto& tty : ScanTtyDevices(sysClassTty_, devFolder_)) {
        if (listedPaths.count(ResolvedPath(tty.path))) continue;
        while (taken.count(next)) ++next;
        if (next > kMaxPortNumber) break;
        entries.push_back({next, PortName(next), tty.name, tty.path, tty.driver});
        taken.insert(next);
    }
    std::sort(entries.begin(), entries.end(),
              [](const SerialPortEntry& a, const SerialPortEntry& b) { return a.number < b.number; });
    return entries;
}

std::unique_ptr<SerialPort> SerialPortList::Open(int number, int& error) const {
    Opener opener;
    {
        std::lock_guard lock(mutex_);
        for (const auto& port : added_)
            if (port.number == number) opener = port.open;
    }
    if (opener) return opener(error);
    for (const auto& entry : Ports())
        if (entry.number == number) return OpenPosixSerialPort(entry.path, error);
    error = ENOENT;
    return nullptr;
}

}  // namespace platform
