#include "device_operations.h"


#include "Cp1251.h"
#include "DevicePorts.h"
#include "device_controls.h"
#include "device_memory.h"
#include "reporter.h"

using namespace cp1251_literals;

namespace {

constexpr int kPolledPorts = 2;  // only ports 1 and 2 are probed and offered
constexpr int kReadProgressMaximum = kDeviceCells + kReportAreaSize / 8;
constexpr const char* kWritingColour = "#ffefef";
constexpr const char* kReadingColour = "#f0ffec";  // verifying too

}  // namespace

DeviceOperations::DeviceOperations(TCommPort& port, DeviceControls& controls, Reporter& reporter)
    : controls_(controls), reporter_(reporter), bus_(port, controls, reporter) {}

void DeviceOperations::StartFrame(const std::string& text, const std::string& gradientEnd, int progressMaximum) {
    controls_.ShowDeviceStatus(text, gradientEnd);
    reporter_.ShowSystemMessage(text, "", kMessageInfo);
    controls_.StartProgress(progressMaximum);
}

bool DeviceOperations::BeginDeviceOperation(bool writing, int cells) {
    controls_.UsePort(bus_.ChosenPort());
    controls_.EnableWriteControls(false);
    const int reportBlocks = static_cast<int>(controls_.ReportText().size() / 8);
    StartFrame(writing ? "Запись в прибор..."_cp : "Проверка чтением..."_cp, writing ? kWritingColour : kReadingColour,
               cells + reportBlocks);
    return bus_.StartOperation();
}

bool DeviceOperations::EndDeviceOperation() {
    const bool present = bus_.EndOperation();
    controls_.EnableWriteControls(true);
    return present;
}

bool DeviceOperations::BeginReadOperation() {
    controls_.UsePort(bus_.ChosenPort());
    controls_.EnableReadControls(false);
    StartFrame("Чтение памяти..."_cp, kReadingColour, kReadProgressMaximum);
    return bus_.StartOperation();
}

bool DeviceOperations::EndReadOperation() {
    const bool present = bus_.EndReadOperation();
    controls_.EnableReadControls(true);
    return present;
}

void DeviceOperations::ReportNoDevice() {
    reporter_.ShowSystemMessage("Подключите прибор!"_cp, "", kMessageError);
}

void DeviceOperations::Announce(const std::string& text, bool success) {
    reporter_.ShowSystemMessage(text, "", success ? kMessageSuccess : kMessageError);
    controls_.ShowMessageBox(text, success ? "Сообщение"_cp : "Ошибка"_cp,
                             success ? MessageIcon::Information : MessageIcon::Error);
}

DeviceResult DeviceOperations::NoDevice(bool reading) {
    ReportNoDevice();
    if (reading)
        EndReadOperation();
    else
        EndDeviceOperation();
    return DeviceResult::kNoDevice;
}

bool DeviceOperations::WriteCells(const std::vector<BaseRecord>& cells) {
    for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
        if (!bus_.WriteCell(cells, i)) return false;
        controls_.StepProgress();
        controls_.ProcessMessages();
    }
    return true;
}

DeviceResult DeviceOperations::WriteEntries(const std::vector<BaseRecord>& entries) {
    const std::vector<BaseRecord> cells = WriteCellList(entries);
    const int count = static_cast<int>(cells.size());
    if (!BeginDeviceOperation(true, count)) return NoDevice(false);
    if (!WriteCells(cells) || !bus_.WriteReportArea(ReportBytes(controls_.ReportText()))) {
        EndDeviceOperation();
        return DeviceResult::kNoAck;
    }
    if (!BeginDeviceOperation(false, count)) return NoDevice(false);
    std::vector<BaseRecord> readBack;
    const bool read = bus_.ReadMemory(readBack, count);
    EndDeviceOperation();
    if (!read) return DeviceResult::kNoAck;
    if (!SameKeys(cells, readBack)) {
        Announce("Ошибка при записи в прибор!"_cp, false);
        return DeviceResult::kVerifyFailed;
    }
    Announce("Запись в прибор успешна!"_cp, true);
    return DeviceResult::kDone;
}

DeviceResult DeviceOperations::ClearMemory() {
    const std::vector<BaseRecord> cells = ClearCellList();
    if (!BeginDeviceOperation(true, kDeviceCells)) return NoDevice(false);
    controls_.SetProgressMaximum(kReadProgressMaximum);
    if (!WriteCells(cells) || !bus_.WriteReportArea(ClearReportBytes())) {
        EndDeviceOperation();
        return DeviceResult::kNoAck;
    }
    if (!EndDeviceOperation()) {
        // Pulled out part-way: nothing acknowledged anything.
        ReportNoDevice();
        return DeviceResult::kNoDevice;
    }
    Announce("Очищение памяти прибора успешно!"_cp, true);
    return DeviceResult::kDone;
}

DeviceResult DeviceOperations::ReadKeys(std::vector<BaseRecord>& keys) {
    if (!BeginReadOperation()) return NoDevice(true);
    std::vector<BaseRecord> cells;
    const bool read = bus_.ReadMemory(cells, 0);
    const bool present = bus_.EndReadOperation();
    DeviceResult result = DeviceResult::kNoAck;
    if (read && !present) {
        // Pulled out part-way: the rest read as zero keys that pass the check.
        ReportNoDevice();
        result = DeviceResult::kNoDevice;
    } else if (read) {
        keys = KeysFromCells(cells);
        result = CheckKeyCrcs(keys) ? DeviceResult::kDone : DeviceResult::kKeyCrcFault;
    }
    // The keys are in place before the controls come back (BTN_Import follows them).
    controls_.EnableReadControls(true);
    return result;
}

bool DeviceOperations::CheckKeyCrcs(const std::vector<BaseRecord>& keys) {
    const int faulty = FirstFaultyKey(keys);
    if (faulty < 0) return true;
    Announce(KeyCrcFaultText(faulty + 1, keys[static_cast<std::size_t>(faulty)].KeyHex), false);
    return false;
}

std::vector<SerialRecord> DeviceOperations::PollPorts(const platform::SerialPortList& list) {
    bus_.CloseComPort();
    std::vector<SerialRecord> ports = ReadSerialPorts(list);
    std::erase_if(ports, [](const SerialRecord& p) { return p.PortNumber > kPolledPorts; });
    for (auto& port : ports)
        if (bus_.ProbePort(port.PortNumber)) port.DeviceName = "device";
    bus_.CloseComPort();
    return ports;
}
