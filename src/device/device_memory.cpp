#include "device_memory.h"

#include <algorithm>

#include "Cp1251.h"
#include "key_text.h"

using namespace cp1251_literals;

BaseRecord BlankEntry() {
    BaseRecord blank;
    blank.KeyHex = std::string(kBlankKey);
    return blank;
}

std::vector<BaseRecord> WriteCellList(const std::vector<BaseRecord>& entries) {
    std::vector<BaseRecord> cells{BlankEntry()};
    const std::size_t keys = std::min<std::size_t>(entries.size(), kDeviceKeyCells);
    cells.insert(cells.end(), entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(keys));
    if (keys < kDeviceKeyCells) cells.push_back(BlankEntry());
    return cells;
}

std::vector<BaseRecord> ClearCellList() {
    return std::vector<BaseRecord>(kDeviceCells, BlankEntry());
}

std::vector<int> ReportBytes(std::string_view text) {
    const std::string_view kept = text.substr(0, kReportAreaSize);
    std::vector<int> bytes;
    for (char c : kept) bytes.push_back(static_cast<unsigned char>(c));
    if (bytes.size() < kReportAreaSize) bytes.push_back(0);
    return bytes;
}

std::vector<int> ClearReportBytes() {
    return std::vector<int>(kReportAreaSize, 0);
}

bool SameKeys(const std::vector<BaseRecord>& written, const std::vector<BaseRecord>& readBack) {
    if (readBack.size() != written.size()) return false;
    for (std::size_t i = 0; i < written.size(); ++i)
        if (readBack[i].KeyHex != written[i].KeyHex) return false;
    return true;
}

std::vector<BaseRecord> KeysFromCells(const std::vector<BaseRecord>& cells) {
    std::vector<BaseRecord> keys;
    for (std::size_t i = 1; i < cells.size() && cells[i].KeyHex != kBlankKey; ++i) keys.push_back(cells[i]);
    return keys;
}

int FirstFaultyKey(const std::vector<BaseRecord>& keys) {
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string checked = keys[i].KeyHex;
        if (!SetKeyCrc(checked, false) || checked.compare(0, 2, keys[i].KeyHex, 0, 2) != 0) return static_cast<int>(i);
    }
    return -1;
}

std::string KeyCrcFaultText(int number, const std::string& key) {
    return "Возможна ошибка при чтении памяти прибора!\nОшибка CRC в ключе №: "_cp + std::to_string(number) + "  [" +
           SpaceKeyText(key) + "]";
}
