// The VCD file of a bus trace, read back the way a logic analyser reads it.
#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "BusTrace.h"
#include "CommPort.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "temp_dir.h"
#include "wait_until.h"

namespace {

using namespace std::chrono_literals;

struct Change {
    long long time;
    char wire;  // 'c' scl, 'd' sda
    int value;
    bool operator==(const Change&) const = default;
};

// Checks the rules a decoder relies on and returns the changes after time 0.
// Fails the test on: a missing header, initial values other than 0 and 0 at
// #0, a timestamp not later than the one before, other than one change per
// timestamp, a value other than 0 or 1, no closing timestamp.
std::vector<Change> ReadVcd(const std::string& text, long long* closing = nullptr) {
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
    std::vector<Change> changes;
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

TEST(BusTrace, EveryChangeGetsItsOwnLaterTimestampAndIdleGapsStayCheap) {
    TempDir dir;
    std::chrono::steady_clock::time_point now{};
    {
        BusTrace trace(dir.File("t.vcd"), [&] { return now; });
        ASSERT_TRUE(trace.Ok());
        now += 10us;
        trace.Scl(true);
        trace.Sda(true);  // the same microsecond
        trace.Sda(true);  // no change, no line
        trace.Scl(true);
        now += 3600s;  // an hour idle
        trace.Sda(false);
        trace.Scl(false);
    }
    long long closing = 0;
    EXPECT_EQ(ReadVcd(ReadFileBytes(dir.File("t.vcd")), &closing),
              (std::vector<Change>{{10, 'c', 1}, {11, 'd', 1}, {3600000010, 'd', 0}, {3600000011, 'c', 0}}));
    EXPECT_EQ(closing, 3600000012);
}

TEST(BusTrace, UnwritableFileIsReported) {
    TempDir dir;
    BusTrace trace(dir.File("missing/t.vcd"));
    EXPECT_FALSE(trace.Ok());
    trace.Scl(true);  // harmless
}

class TracedPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddEmulatedPort(ports, 1, device);
        port.SetComNumber(1);
        port.SetDTR(true);
        port.SetRTS(true);
        port.SetBusTrace(std::make_shared<BusTrace>(dir.File("bus.vcd")));
    }
    // The trace is complete once no port holds it any more.
    std::vector<Change> Finish() {
        port.SetOpen(false);
        port.SetBusTrace(nullptr);
        return ReadVcd(ReadFileBytes(dir.File("bus.vcd")));
    }

    TempDir dir;
    platform::SerialPortList ports{"", ""};
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
    TCommPort port{&ports};
};

std::vector<std::pair<char, int>> Wires(const std::vector<Change>& changes) {
    std::vector<std::pair<char, int>> wires;
    for (const auto& c : changes) wires.emplace_back(c.wire, c.value);
    return wires;
}

TEST_F(TracedPortTest, ShowsTheLinesOfATransactionAcrossCloseAndOpen) {
    port.SetOpen(true);
    port.SetDTR(false);  // START
    port.SetRTS(false);
    port.SetDTR(true);  // bit 1
    port.SetRTS(true);
    port.SetOpen(false);
    port.SetOpen(true);
    const std::vector<std::pair<char, int>> expected = {
        {'d', 1}, {'c', 1},            // opening drives DTR, then RTS
        {'d', 0},                      // START: data falls while the clock is high
        {'c', 0}, {'d', 1}, {'c', 1},  // a bit
        {'c', 0},                      // the close drops the clock; sda is unknown while closed
        {'d', 0}, {'d', 1}, {'c', 1},  // opening shows the wire low until DTR rises again
        {'c', 0},                      // the last close
    };
    EXPECT_EQ(Wires(Finish()), expected);
}

TEST_F(TracedPortTest, SdaIsTheWireAsCtsSeesItNotWhatDtrDrives) {
    device->Access([](Orb31Emulator& e) { e.SetConnected(false); });
    port.SetOpen(true);
    port.SetDTR(false);
    port.SetRTS(false);
    port.SetDTR(true);
    EXPECT_EQ(Wires(Finish()), (std::vector<std::pair<char, int>>{{'c', 1}, {'c', 0}}));
}

}  // namespace
