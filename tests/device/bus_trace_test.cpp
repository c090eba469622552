// The VCD file of a bus trace, read back the way a logic analyser reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "BusTrace.h"
#include "CommPort.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "temp_dir.h"
#include "vcd_reader.h"
#include "wait_until.h"

namespace {

using namespace std::chrono_literals;

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
              (std::vector<WireChange>{{10, 'c', 1}, {11, 'd', 1}, {3600000010, 'd', 0}, {3600000011, 'c', 0}}));
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
    std::vector<WireChange> Finish() {
        port.SetOpen(false);
        port.SetBusTrace(nullptr);
        return ReadVcd(ReadFileBytes(dir.File("bus.vcd")));
    }

    TempDir dir;
    platform::SerialPortList ports{"", ""};
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
    TCommPort port{&ports};
};

std::vector<std::pair<char, int>> Wires(const std::vector<WireChange>& changes) {
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

// A line change waits in lockstep for the status thread, which reads the
// traced port meanwhile: it must not wait for the change in turn.
TEST_F(TracedPortTest, LockstepHoldsWithATrace) {
    device->SetLockstep(true);
    port.SetOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return port.CTS(); }));
    for (bool high : {false, true, false}) {
        port.SetDTR(high);
        EXPECT_EQ(port.CTS(), high) << "taken in before the change returned";
    }
    const auto wires = Wires(Finish());
    EXPECT_EQ(std::count(wires.begin(), wires.end(), std::pair<char, int>{'d', 0}), 2);
}

}  // namespace
