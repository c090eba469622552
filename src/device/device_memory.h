#pragma once
// What lies where in the ORB-31's 1024-byte memory, and what the write, clear
// and read commands put into it or take out of it:
//   0..7           cell 0, always written blank, ignored when reading
//   8c..8c+7       cell c = 1..99: the key of entry c, check byte first
//   800..1023      the report text, one CP1251 byte per character, then a 0
//                  byte when it is shorter than 224 characters
// A blank cell (eight 0xFF, the key "FFFFFFFFFFFFFFFF") ends the keys.

#include <string>
#include <string_view>
#include <vector>

#include "records.h"

inline constexpr int kDeviceCells = 100;    // cell 0 and 99 keys
inline constexpr int kDeviceKeyCells = 99;  // also the collection limit of the device dialog
inline constexpr int kReportAreaSize = 224;

// An entry with empty texts, zero numbers, no flags and the blank key.
BaseRecord BlankEntry();

// A blank cell, the entries (at most 99 of them), and a closing blank cell
// when there are fewer than 99.
std::vector<BaseRecord> WriteCellList(const std::vector<BaseRecord>& entries);
// 100 blank cells.
std::vector<BaseRecord> ClearCellList();

// The codes of the text's characters, then a 0 unless it is exactly 224
// long. A longer text is cut to 224 characters: the area never gets more.
std::vector<int> ReportBytes(std::string_view text);
// 224 zero bytes.
std::vector<int> ClearReportBytes();

// Each cell read back has the KeyHex of the same position of the list
// written, compared as texts, and none is missing.
bool SameKeys(const std::vector<BaseRecord>& written, const std::vector<BaseRecord>& readBack);

// The keys of the cells of a whole read: cell 0 dropped, then every cell up
// to, not including, the first blank one.
std::vector<BaseRecord> KeysFromCells(const std::vector<BaseRecord>& cells);

// The position of the first key whose first pair is not its check byte, or
// -1 when every key is sound.
int FirstFaultyKey(const std::vector<BaseRecord>& keys);
// The message for key number `number` (from 1) of the keys read.
std::string KeyCrcFaultText(int number, const std::string& key);
