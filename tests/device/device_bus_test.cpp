// The bus routines on the emulated ORB-31 through a port component, with the
// port's real threads and real timing: the bytes on the wire, the waits, and
// what the routines make of an absent, silent or slow device.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BusTrace.h"
#include "CommPort.h"
#include "Cp1251.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "device_bus.h"
#include "emulated_port_rig.h"
#include "recording_controls.h"
#include "recording_reporter.h"
#include "temp_dir.h"
#include "vcd_reader.h"
#include "wait_until.h"

using namespace cp1251_literals;
using namespace std::chrono_literals;

namespace {

// How often `wait` called the C library's generator: the values it hands out
// next tell how far its sequence has moved.
long GeneratorCalls(const std::function<void()>& wait) {
    constexpr unsigned kSeed = 12345;
    std::srand(kSeed);
    wait();
    const int next = std::rand(), after = std::rand();
    std::srand(kSeed);
    int previous = std::rand();
    for (long calls = 1; calls < 300000; ++calls) {
        const int value = std::rand();
        if (previous == next && value == after) return calls - 1;
        previous = value;
    }
    return -1;
}

class DeviceBusTest : public ::testing::Test, protected EmulatedPortRig {
protected:
    template <class F>
    decltype(auto) Emulator(F&& f) {
        return device->Access(std::forward<F>(f));
    }
    void Fill(int from, const std::vector<int>& bytes) {
        Emulator([&](Orb31Emulator& e) {
            for (std::size_t i = 0; i < bytes.size(); ++i)
                e.Contents()[static_cast<std::size_t>(from) + i] = static_cast<std::uint8_t>(bytes[i]);
        });
    }
    std::vector<int> Bytes(int from, int n) {
        return Emulator([&](Orb31Emulator& e) {
            std::vector<int> bytes;
            for (int i = from; i < from + n; ++i) bytes.push_back(e.Contents()[static_cast<std::size_t>(i)]);
            return bytes;
        });
    }
    std::vector<std::string> Keys(const std::vector<BaseRecord>& cells) {
        std::vector<std::string> keys;
        for (const auto& cell : cells) keys.push_back(cell.KeyHex);
        return keys;
    }

    RecordingControls controls;
    RecordingReporter reporter;
    DeviceBus bus{port, controls, reporter};
};

TEST_F(DeviceBusTest, WaitsCallTheGeneratorAsOftenAsTheSpeedSays) {
    EXPECT_EQ(GeneratorCalls([] { DeviceBus::Delay(5); }), 501);
    EXPECT_EQ(GeneratorCalls([] { DeviceBus::Delay(0); }), 7001) << "0 runs as 70";
    EXPECT_EQ(GeneratorCalls([&] { bus.ShortWait(); }), 501);
    const struct {
        int speed;
        long calls;
    } speeds[] = {{20, 7001}, {19, 10001}, {10, 100001}, {1, 190001}, {0, 190001}, {25, 7001}};
    for (const auto& s : speeds) {
        controls.speed = s.speed;
        EXPECT_EQ(GeneratorCalls([&] { bus.SettleWait(); }), s.calls) << "speed " << s.speed;
    }
}

// A key, a cell list of 100 and the report area, written through a traced port
// and decoded from the trace as a logic analyser would.
TEST_F(DeviceBusTest, ControlAndWordAddressBytesOnTheWire) {
    TempDir dir;
    auto trace = std::make_shared<BusTrace>(dir.File("bus.vcd"));
    port.SetBusTrace(trace);
    trace.reset();
    std::vector<BaseRecord> cells(100);
    cells[1].KeyHex = "14FF00A55A0F0001";
    cells[99].KeyHex = "FFFFFFFFFFFFFFFF";
    std::vector<int> report(224);
    for (int i = 0; i < 224; ++i) report[static_cast<std::size_t>(i)] = (i * 7 + 1) & 0xFF;
    ASSERT_TRUE(bus.StartOperation());
    ASSERT_TRUE(bus.WriteCell(cells, 1));
    ASSERT_TRUE(bus.WriteCell(cells, 99));
    ASSERT_TRUE(bus.WriteReportArea(report));
    ASSERT_TRUE(bus.WriteReportArea({0x41}));
    std::vector<BaseRecord> read;
    ASSERT_TRUE(bus.ReadMemory(read, 1));
    bus.EndOperation();
    port.SetBusTrace(nullptr);

    const auto transfers = DecodeBus(ReadVcd(ReadFileBytes(dir.File("bus.vcd"))));
    ASSERT_GE(transfers.size(), 2u + 14u + 1u + 2u);
    auto expect = [&](std::size_t t, std::vector<int> bytes, const char* what) {
        const auto& got = transfers[t].bytes;
        EXPECT_EQ(std::vector<int>(got.begin(), got.begin() + std::min(got.size(), bytes.size())), bytes) << what;
        EXPECT_TRUE(transfers[t].stopped) << what;
        for (int bit : transfers[t].ninthBits) EXPECT_EQ(bit, 0) << what << ": every byte acknowledged";
    };
    expect(0, {0xA0, 0x08, 0x14, 0xFF, 0x00, 0xA5, 0x5A, 0x0F, 0x00, 0x01}, "cell 1");
    EXPECT_EQ(transfers[0].bytes.size(), 10u);
    expect(1, {0xA6, 0x18, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "cell 99: the blank key as eight 0xFF");
    for (int b = 0; b < 14; ++b) {
        const std::size_t t = 2 + static_cast<std::size_t>(b);
        std::vector<int> expected = {0xA6, 0x20 + 16 * b};
        for (int i = 0; i < 16; ++i) expected.push_back(report[static_cast<std::size_t>(16 * b + i)]);
        expect(t, expected, ("report block " + std::to_string(b)).c_str());
        EXPECT_EQ(transfers[t].bytes.size(), 18u);
    }
    EXPECT_EQ(transfers[15].bytes[1], 0xF0) << "block 13 at byte address 1008";
    expect(16, {0xA6, 0x20, 0x41}, "a one-byte report: one block of one byte");
    EXPECT_EQ(transfers[16].bytes.size(), 3u);
    expect(17, {0xA0, 0x00}, "the read sets the address to 0 with a write of no data");
    EXPECT_EQ(transfers[17].bytes.size(), 2u);
    EXPECT_EQ(transfers[18].bytes.front(), 0xA1) << "then reads on from there";
    EXPECT_EQ(Keys(read), std::vector<std::string>{"FFFFFFFFFFFFFFFF"});
}

TEST_F(DeviceBusTest, KeyPairsGoToTheCellInOrderAndNonHexPairsAsZero) {
    std::vector<BaseRecord> cells(3);
    cells[1].KeyHex = "0123456789ABCDEF";
    cells[2].KeyHex = "12zz34";
    Fill(8, std::vector<int>(16, 0x77));
    ASSERT_TRUE(bus.StartOperation());
    ASSERT_TRUE(bus.WriteCell(cells, 1));
    ASSERT_TRUE(bus.WriteCell(cells, 2));
    EXPECT_EQ(Bytes(8, 16), (std::vector<int>{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,  //
                                              0x12, 0x00, 0x34, 0x00, 0x00, 0x00, 0x00, 0x00}));
    std::vector<BaseRecord> read;
    ASSERT_TRUE(bus.ReadMemory(read, 3));
    EXPECT_EQ(Keys(read), (std::vector<std::string>{"FFFFFFFFFFFFFFFF", "0123456789ABCDEF", "1200340000000000"}));
    EXPECT_TRUE(bus.EndOperation());
    EXPECT_FALSE(port.Open());
    EXPECT_EQ(Emulator([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::Idle)
        << "the bus reset let the device go";
}

TEST_F(DeviceBusTest, WholeReadRunsOnIntoTheReportArea) {
    const struct {
        std::vector<int> area;
        std::string text;
        int steps;
    } cases[] = {
        {{'O', 'R', 'B', 0, 'x'}, "ORB", 100},
        {{0, 'x'}, "", 100},
        {std::vector<int>(224, 0xFF), std::string(224, '\xFF'), 100 + 27},
    };
    for (const auto& c : cases) {
        Emulator([](Orb31Emulator& e) { e.Contents().fill(0xFF); });
        Fill(8, {0x14, 0, 0, 0, 0, 0, 0, 1});
        Fill(800, c.area);
        controls = RecordingControls{};
        controls.report = "old";
        ASSERT_TRUE(bus.StartOperation());
        std::vector<BaseRecord> cells;
        ASSERT_TRUE(bus.ReadMemory(cells, 0));
        EXPECT_TRUE(bus.EndReadOperation());
        ASSERT_EQ(cells.size(), 100u);
        EXPECT_EQ(cells[1].KeyHex, "1400000000000001");
        EXPECT_EQ(cells[99].KeyHex, "FFFFFFFFFFFFFFFF");
        EXPECT_TRUE(cells[1].Street.empty() && cells[1].Number == 0 && !cells[1].KeyDef);
        EXPECT_EQ(controls.report, c.text) << c.text.size();
        EXPECT_EQ(controls.reportSet, 2) << "emptied first";
        EXPECT_EQ(controls.steps, c.steps) << c.text.size();
        EXPECT_FALSE(port.Open());
        EXPECT_EQ(Emulator([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::Idle);
    }
}

TEST_F(DeviceBusTest, AbsentDeviceReadsLowAndSeemsToAcknowledgeEverything) {
    Emulator([](Orb31Emulator& e) { e.SetConnected(false); });
    EXPECT_FALSE(bus.ProbePort(1));
    EXPECT_FALSE(bus.StartOperation());
    std::vector<BaseRecord> cells;
    ASSERT_TRUE(bus.ReadMemory(cells, 2)) << "every acknowledge reads low";
    EXPECT_EQ(Keys(cells), (std::vector<std::string>{"0000000000000000", "0000000000000000"}));
    EXPECT_FALSE(bus.EndOperation());

    Emulator([](Orb31Emulator& e) { e.SetConnected(true); });
    EXPECT_TRUE(bus.ProbePort(1));
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(bus.ProbePort(2)) << "a port that cannot be opened reads low";
    Emulator([](Orb31Emulator& e) { e.SetWireFault(Orb31Emulator::WireFault::StuckLow); });
    EXPECT_FALSE(bus.StartOperation());
    bus.CloseComPort();
    EXPECT_TRUE(reporter.messages.empty());
}

TEST_F(DeviceBusTest, MissingAcknowledgeIsReportedAndLeavesClockAndDataHigh) {
    ASSERT_TRUE(bus.StartOperation());
    Emulator([](Orb31Emulator& e) { e.FailAckFromByte(3); });
    std::vector<BaseRecord> cells(2);
    cells[1].KeyHex = "1400000000000001";
    EXPECT_FALSE(bus.WriteCell(cells, 1));
    ASSERT_EQ(reporter.messages.size(), 1u);
    EXPECT_EQ(reporter.Last().text, "Нет ответа! (ACK)"_cp);
    EXPECT_EQ(reporter.Last().kind, kMessageError);
    EXPECT_TRUE(port.RTS() && port.DTR());
    EXPECT_EQ(Bytes(8, 8), std::vector<int>(8, 0xFF)) << "no STOP, nothing stored";
    bus.EndOperation();
}

TEST_F(DeviceBusTest, BusResetLetsADeviceStillSendingGo) {
    Fill(0, std::vector<int>(16, 0x00));  // the wire stays low while the device sends zeros
    ASSERT_TRUE(bus.StartOperation());
    std::vector<BaseRecord> cells;
    ASSERT_TRUE(bus.ReadMemory(cells, 1));
    ASSERT_EQ(Emulator([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::ReadData)
        << "the STOP after the read is not seen";
    bus.ResetBus();
    EXPECT_EQ(Emulator([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::Idle);
    EXPECT_TRUE(port.Open() && port.DTR() && port.RTS());
    EXPECT_TRUE(bus.DataLineHigh());
    bus.CloseComPort();
}

// A line that reports CTS changes late (a slow adapter): the settle wait of
// speed 20 samples before the change has arrived, that of speed 1 after.
TEST_F(DeviceBusTest, SlowLineReadsWrongAtFullSpeedAndRightAtALowerOne) {
    const std::vector<int> pattern = {0x14, 0x5A, 0xA5, 0x0F, 0xF0, 0x33, 0xCC, 0x01};
    Fill(0, pattern);
    device->SetCtsDelay(600us);
    for (int speed : {20, 1}) {
        controls.speed = speed;
        ASSERT_TRUE(bus.StartOperation());
        std::vector<BaseRecord> cells;
        ASSERT_TRUE(bus.ReadMemory(cells, 1));
        bus.EndOperation();
        if (speed == 20)
            EXPECT_NE(Keys(cells), std::vector<std::string>{"145AA50FF033CC01"});
        else
            EXPECT_EQ(Keys(cells), std::vector<std::string>{"145AA50FF033CC01"});
    }
}

// The status thread's copy of CTS serves as well while it keeps up with the
// line, which the emulator's lockstep makes sure of once the thread is up.
TEST_F(DeviceBusTest, StatusThreadSamplingWorksWhileTheThreadKeepsUp) {
    device->SetLockstep(true);
    bus.SetLineSampling(LineSampling::kStatusThread);
    bus.BusStop();  // closed: both lines stored high
    bus.OpenComPort(1);
    ASSERT_TRUE(WaitUntil([&] { return bus.DataLineHigh(); })) << "the status thread has seen the open";
    std::vector<BaseRecord> cells(2);
    cells[1].KeyHex = "5AA5F00F3CC30110";
    ASSERT_TRUE(bus.WriteCell(cells, 1));
    std::vector<BaseRecord> read;
    ASSERT_TRUE(bus.ReadMemory(read, 2));
    EXPECT_EQ(Keys(read), (std::vector<std::string>{"FFFFFFFFFFFFFFFF", "5AA5F00F3CC30110"}));
    bus.CloseComPort();
}

}  // namespace
