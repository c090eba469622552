#include "device_bus.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "CommPort.h"
#include "Cp1251.h"
#include "device_controls.h"
#include "device_memory.h"
#include "reporter.h"
#include "text_helpers.h"

using namespace cp1251_literals;
using namespace std::chrono_literals;

namespace {

constexpr int kResetPasses = 21;
constexpr int kCtsLine = 1;  // GetModemState's number for CTS
constexpr int kBlockBytes = 16;
constexpr int kReportBlockCell = 100;  // cell number of report block 0: byte address 800
constexpr std::size_t kProgressFirstChar = 9;
constexpr std::size_t kProgressEveryChars = 8;

constexpr auto kAckSleep = 1ms;
constexpr auto kOperationSleep = 2ms;
constexpr auto kWriteCycleSleep = 10ms;
constexpr auto kResetSleep = 20ms;

std::string Hex2(int value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

}  // namespace

DeviceBus::DeviceBus(TCommPort& port, DeviceControls& controls, Reporter& reporter)
    : port_(port), controls_(controls), reporter_(reporter) {}

void DeviceBus::Delay(int n) {
    if (n == 0) n = 70;
    for (int i = 0; i < n * 100 + 1; ++i) static_cast<void>(std::rand());
}

void DeviceBus::ShortWait() {
    Delay(5);
}

void DeviceBus::SettleWait() {
    const int position = std::clamp(controls_.SpeedPosition(), kSpeedMin, kSpeedMax);
    Delay((kSpeedMax - position) * 100);
}

void DeviceBus::Clock(bool high) {
    port_.SetRTS(high);
    ShortWait();
}

void DeviceBus::Data(bool high) {
    port_.SetDTR(high);
    ShortWait();
}

void DeviceBus::BusStart() {
    Data(false);
}

void DeviceBus::BusStop() {
    Clock(false);
    Data(false);
    Clock(true);
    Data(true);
}

bool DeviceBus::SendBits(const std::string& bits) {
    for (char bit : bits) {
        Clock(false);
        Data(bit >= '1' && bit <= '9');
        Clock(true);
    }
    if (ReadAck()) return true;
    reporter_.ShowSystemMessage("Нет ответа! (ACK)"_cp, "", kMessageError);
    return false;
}

bool DeviceBus::ReadAck() {
    Clock(false);
    Data(true);
    Clock(true);
    std::this_thread::sleep_for(kAckSleep);
    SettleWait();
    if (DataLineHigh()) return false;
    Clock(false);
    return true;
}

std::string DeviceBus::ReadByteBits() {
    Data(true);
    std::string bits;
    for (int i = 0; i < 8; ++i) {
        Clock(true);
        SettleWait();
        bits += DataLineHigh() ? '1' : '0';
        Clock(false);
    }
    Data(false);
    Clock(true);
    Clock(false);
    return bits;
}

std::string DeviceBus::CellAddressBits(int cell) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%03X", (cell * 8) & 0x3FF);
    return HexToBinText(hex, 0, 10);
}

std::string DeviceBus::ControlBits(const std::string& addressBits, bool read) {
    return "10100" + addressBits.substr(0, 2) + (read ? "1" : "0");
}

std::string DeviceBus::WordAddressBits(const std::string& addressBits) {
    return addressBits.substr(2, 8);
}

std::string DeviceBus::ByteBits(int value) {
    return HexToBinText(Hex2(value), 0, 8);
}

bool DeviceBus::AddressCell(int cell) {
    BusStart();
    const std::string address = CellAddressBits(cell);
    return SendBits(ControlBits(address, false)) && SendBits(WordAddressBits(address));
}

bool DeviceBus::WriteCell(const std::vector<BaseRecord>& list, int index) {
    if (!AddressCell(index)) return false;
    const std::string& key = list[static_cast<std::size_t>(index)].KeyHex;
    for (std::size_t pair = 0; pair < 8; ++pair) {
        // A pair that is not hexadecimal goes as 0.
        const std::string digits = pair * 2 < key.size() ? key.substr(pair * 2, 2) : std::string();
        if (!SendBits(HexToBinText(digits, 0, 8))) return false;
    }
    BusStop();
    std::this_thread::sleep_for(kWriteCycleSleep);
    return true;
}

bool DeviceBus::WriteReportArea(const std::vector<int>& bytes) {
    for (std::size_t from = 0, block = 0; from < bytes.size(); from += kBlockBytes, ++block) {
        if (!AddressCell(kReportBlockCell + 2 * static_cast<int>(block))) return false;
        const std::size_t to = std::min(bytes.size(), from + kBlockBytes);
        for (std::size_t i = from; i < to; ++i) {
            if (!SendBits(ByteBits(bytes[i]))) return false;
            if (i - from + 1 == kProgressFirstChar) {
                controls_.StepProgress();
                controls_.ProcessMessages();
            }
        }
        BusStop();
        std::this_thread::sleep_for(kWriteCycleSleep);
    }
    controls_.FillProgress();
    return true;
}

bool DeviceBus::ReadMemory(std::vector<BaseRecord>& cells, int count) {
    if (!AddressCell(0)) return false;
    BusStop();
    BusStart();
    if (!SendBits(ControlBits(CellAddressBits(0), true))) return false;

    cells.clear();
    const int n = count == 0 ? kDeviceCells : count;
    for (int c = 0; c < n; ++c) {
        BaseRecord cell;
        for (int b = 0; b < 8; ++b) cell.KeyHex += BinToHexText(ReadByteBits(), 2);
        cells.push_back(std::move(cell));
        controls_.StepProgress();
        controls_.ProcessMessages();
    }
    if (count == 0) {
        controls_.SetReportText("");
        std::string text;
        for (int i = 0; i < kReportAreaSize; ++i) {
            const int code = BinTextToInt(ReadByteBits());
            if (code == 0) break;
            text += static_cast<char>(code);
            if (text.size() >= kProgressFirstChar && (text.size() - kProgressFirstChar) % kProgressEveryChars == 0) {
                controls_.StepProgress();
                controls_.ProcessMessages();
            }
        }
        controls_.SetReportText(text);
    }
    controls_.FillProgress();
    BusStop();
    std::this_thread::sleep_for(kWriteCycleSleep);
    return true;
}

void DeviceBus::OpenComPort(int number) {
    if (!port_.Open()) {
        port_.SetComNumber(number);
        port_.SetBaud(38400);
        port_.SetComControl(ccNone);
        port_.SetParity(paNone);
        port_.SetDataBits(8);
        port_.SetStopBits(sb1_0);
        port_.SetOpen(true);
    }
    port_.FlushOutBuffer();
    port_.PurgePort();
    port_.FlushInBuffer();
}

void DeviceBus::CloseComPort() {
    if (port_.Open()) port_.SetOpen(false);
}

void DeviceBus::ResetBus() {
    for (int pass = 0; pass < kResetPasses; ++pass) {
        CloseComPort();
        BusStop();  // closed: only stores both lines high
        OpenComPort(ChosenPort());
        std::this_thread::sleep_for(kResetSleep);
    }
}

bool DeviceBus::DataLineHigh() {
    return sampling_ == LineSampling::kStatusThread ? port_.CTS() : port_.GetModemState(kCtsLine);
}

int DeviceBus::ChosenPort() const {
    return StrToIntDef(controls_.PortChoiceText(), 1);
}

bool DeviceBus::ProbePort(int number) {
    CloseComPort();
    port_.SetDTR(false);
    port_.SetRTS(false);
    OpenComPort(number);
    port_.SetDTR(true);
    SettleWait();
    const bool present = DataLineHigh();
    CloseComPort();
    return present;
}

bool DeviceBus::StartOperation() {
    ResetBus();
    CloseComPort();
    BusStop();
    OpenComPort(ChosenPort());
    std::this_thread::sleep_for(kOperationSleep);
    SettleWait();
    return DataLineHigh();
}

bool DeviceBus::EndOperation() {
    CloseComPort();
    return EndReadOperation();
}

// The reset ends with the port open, both lines high and time for CTS to settle.
bool DeviceBus::EndReadOperation() {
    ResetBus();
    const bool present = DataLineHigh();
    CloseComPort();
    return present;
}
