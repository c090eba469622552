#pragma once
// A bus trace (VCD) read back the way a logic analyser reads it, and the
// two-wire transfers decoded from its clock and data edges.

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

struct WireChange {
    long long time;
    char wire;  // 'c' scl, 'd' sda
    int value;
    bool operator==(const WireChange&) const = default;
};

// Checks the rules a decoder relies on and returns the changes after time 0.
// Fails the test on: a missing header, initial values other than 0 and 0 at
// #0, a timestamp not later than the one before, other than one change per
// timestamp, a value other than 0 or 1, no closing timestamp.
inline std::vector<WireChange> ReadVcd(const std::string& text, long long* closing = nullptr) {
    std::istringstream in(text);
    std::string line;
    std::vector<std::string> lines;
    while (std::getline(in, line)) lines.push_back(line);
    const std::vector<std::string> head = {"$version vestorin bus trace $end",
                                           "$timescale 1 us $end",
                                           "$scope module bus $end",
                                           "$var wire 1 ! scl $end",
                                           "$var wire 1 \" sda $end",
                                           "$upscope $end",
                                           "$enddefinitions $end",
                                           "#0",
                                           "$dumpvars",
                                           "0!",
                                           "0\"",
                                           "$end"};
    std::vector<WireChange> changes;
    if (lines.size() < head.size() + 1 || !std::equal(head.begin(), head.end(), lines.begin())) {
        ADD_FAILURE() << "header:\n" << text.substr(0, 300);
        return changes;
    }
    long long last = 0;
    for (std::size_t i = head.size(); i < lines.size(); i += 2) {
        if (lines[i].empty() || lines[i][0] != '#') {
            ADD_FAILURE() << "timestamp expected at line " << i + 1 << ": " << lines[i];
            return changes;
        }
        const long long time = std::stoll(lines[i].substr(1));
        EXPECT_GT(time, last) << "line " << i + 1;
        last = time;
        if (i + 1 == lines.size()) break;  // the closing timestamp
        const std::string& value = lines[i + 1];
        if (value.size() != 2 || (value[0] != '0' && value[0] != '1') || (value[1] != '!' && value[1] != '"')) {
            ADD_FAILURE() << "one change of scl or sda expected at line " << i + 2 << ": " << value;
            return changes;
        }
        changes.push_back({time, value[1] == '!' ? 'c' : 'd', value[0] - '0'});
    }
    if (lines.size() % 2 == head.size() % 2) ADD_FAILURE() << "no closing timestamp";
    if (closing) *closing = last;
    return changes;
}

// One transfer between a START and the next START or STOP: each byte with
// the ninth bit after it (0: acknowledged).
struct BusTransfer {
    std::vector<int> bytes;
    std::vector<int> ninthBits;
    bool stopped = false;  // ended by a STOP rather than by another START
};

// START: data falls while the clock is high; STOP: data rises while it is
// high; a bit is the data on a rising clock edge. Bits before the first START
// and an unfinished last byte are left out.
inline std::vector<BusTransfer> DecodeBus(const std::vector<WireChange>& changes) {
    std::vector<BusTransfer> transfers;
    int scl = 0, sda = 0, bits = 0, value = 0;
    bool inTransfer = false;
    for (const auto& change : changes) {
        if (change.wire == 'c') {
            const bool rising = change.value == 1 && scl == 0;
            scl = change.value;
            if (!rising || !inTransfer) continue;
            if (bits < 8) {
                value = (value << 1) | sda;
                ++bits;
            } else {
                transfers.back().bytes.push_back(value);
                transfers.back().ninthBits.push_back(sda);
                bits = value = 0;
            }
            continue;
        }
        const int before = sda;
        sda = change.value;
        if (scl == 1 && before == 1 && sda == 0) {
            transfers.push_back({});
            inTransfer = true;
            bits = value = 0;
        } else if (scl == 1 && before == 0 && sda == 1 && inTransfer) {
            transfers.back().stopped = true;
            inTransfer = false;
        }
    }
    return transfers;
}
