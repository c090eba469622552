// The port component on the emulated device, whose modem lines move.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "CommPort.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "bus_host.h"
#include "wait_until.h"

namespace {

using namespace std::chrono_literals;

class CommPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddEmulatedPort(ports, 1, device);
        port.SetComNumber(1);
    }

    std::pair<bool, bool> DeviceLines() {
        return device->Access([](Orb31Emulator& e) { return std::pair(e.Dtr(), e.Rts()); });
    }

    platform::SerialPortList ports{"", ""};
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
    TCommPort port{&ports};
};

TEST(CommPortProperties, ConstructorDefaultsAndTheDeviceDialogsStoredValues) {
    platform::SerialPortList none{"", ""};
    TCommPort port(&none);
    EXPECT_EQ(port.ComNumber(), 2);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.DTR());
    EXPECT_FALSE(port.RTS());
    EXPECT_FALSE(port.CTS() || port.DSR() || port.DCD() || port.Ring());
    EXPECT_EQ(port.InSize(), 2048u);
    EXPECT_EQ(port.OutSize(), 4096u);
    EXPECT_EQ(port.BaudRate(), cbr9600);
    EXPECT_EQ(port.GetBaud(), 9600);
    EXPECT_EQ(port.Control(), ccNone);
    EXPECT_EQ(port.Parity(), paNone);
    EXPECT_EQ(port.StopBits(), sb1_0);
    EXPECT_EQ(port.DataBits(), 8);
    EXPECT_EQ(port.MonitorEvents(), 0x1FDu) << "all but evRxEventChar";
    EXPECT_EQ(port.XonLim(), 0);
    EXPECT_EQ(port.XoffLim(), 1024);
    EXPECT_EQ(port.XonChar(), 17);
    EXPECT_EQ(port.XoffChar(), 19);
    EXPECT_EQ(port.EventChar(), 0);

    LoadCommPort1Properties(port);
    EXPECT_EQ(port.ComNumber(), 1);
    EXPECT_TRUE(port.DTR() && port.RTS());
    EXPECT_EQ(port.InSize(), 4096u);
    EXPECT_EQ(port.OutSize(), 8192u);
    EXPECT_EQ(port.GetBaud(), 38400);
    EXPECT_EQ(port.XoffLim(), 8);
    EXPECT_FALSE(port.Open());
}

TEST(CommPortProperties, BaudTableAndDataBits) {
    platform::SerialPortList none{"", ""};
    TCommPort port(&none);
    port.SetBaud(12345);
    EXPECT_EQ(port.BaudRate(), cbr9600) << "a rate outside the table is ignored";
    port.SetBaudRate(cbr38400);
    EXPECT_EQ(port.GetBaud(), 38400);
    port.SetBaud(256000);
    EXPECT_EQ(port.BaudRate(), cbr256000);
    port.SetBaud(110);
    EXPECT_EQ(port.BaudRate(), cbr110);
    EXPECT_EQ(BaudRateValue(15), 0);
    EXPECT_EQ(BaudRateValue(-1), 0);

    const struct { unsigned short given, stored; } bits[] = {{9, 8}, {4, 8}, {0, 8}, {5, 5}, {7, 7}, {8, 8}};
    for (const auto& c : bits) {
        port.SetDataBits(c.given);
        EXPECT_EQ(port.DataBits(), c.stored) << c.given;
    }
}

TEST(CommPortProperties, StopBitsWarningKeepsTheSetting) {
    platform::SerialPortList none{"", ""};
    TCommPort port(&none);
    std::vector<std::pair<std::string, std::string>> shown;
    port.WarningBox = [&](const std::string& text, const std::string& caption) { shown.emplace_back(text, caption); };
    const struct {
        unsigned short dataBits;
        TStopBits stopBits;
        const char* warning;
    } cases[] = {
        {8, sb1_5, "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)"},
        {6, sb1_5, "Invalid combination (6,7 or 8 data bits with 1.5 stop bits)"},
        {5, sb2_0, "Invalid combination (5 data bits with 2 stop bits)"},
        {5, sb1_5, nullptr},
        {8, sb2_0, nullptr},
        {8, sb1_0, nullptr},
    };
    for (const auto& c : cases) {
        port.SetStopBits(sb1_0);
        port.SetDataBits(c.dataBits);
        shown.clear();
        port.SetStopBits(c.stopBits);
        EXPECT_EQ(port.StopBits(), c.stopBits);
        EXPECT_EQ(port.DataBits(), c.dataBits);
        if (c.warning) {
            ASSERT_EQ(shown.size(), 1u) << c.dataBits << '/' << c.stopBits;
            EXPECT_EQ(shown[0].first, c.warning);
            EXPECT_EQ(shown[0].second, "COM port warning");
        } else {
            EXPECT_TRUE(shown.empty()) << c.dataBits << '/' << c.stopBits;
        }
    }
    // The data-bits setter checks the combination too.
    port.SetStopBits(sb2_0);
    shown.clear();
    port.SetDataBits(5);
    EXPECT_EQ(shown.size(), 1u);
}

TEST(CommPortProperties, XoffLimIsClampedToTheInputRing) {
    platform::SerialPortList none{"", ""};
    TCommPort port(&none);
    port.SetIBuffSize(4096);
    port.SetXoffLim(5000);
    EXPECT_EQ(port.XoffLim(), 4096);
    port.SetXoffLim(8);
    EXPECT_EQ(port.XoffLim(), 8);
}

TEST_F(CommPortTest, LinesStoredWhileClosedAreAppliedAtOpen) {
    const struct { bool dtr, rts; } cases[] = {{false, false}, {true, true}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        port.SetDTR(c.dtr);
        port.SetRTS(c.rts);
        EXPECT_EQ(DeviceLines(), std::pair(false, false)) << "a closed port drives nothing";
        port.SetOpen(true);
        ASSERT_TRUE(port.Open());
        EXPECT_EQ(DeviceLines(), std::pair(c.dtr, c.rts));
        EXPECT_EQ(port.DTR(), c.dtr);
        EXPECT_EQ(port.RTS(), c.rts);
        // The wire is high exactly when the host releases it on an idle device.
        EXPECT_TRUE(WaitUntil([&] { return port.CTS() == c.dtr; }));
        port.SetOpen(false);
        EXPECT_EQ(DeviceLines(), std::pair(false, false));
        EXPECT_FALSE(port.CTS());
    }
}

TEST_F(CommPortTest, OpenTwiceOpensOnceAndComNumberClosesWithoutReopening) {
    int opened = 0, closed = 0, error = -1;
    port.OnOpen = [&](TCommPort* sender, int code) {
        EXPECT_EQ(sender, &port);
        ++opened;
        error = code;
    };
    port.OnClose = [&](TCommPort*) { ++closed; };
    port.SetOpen(true);
    port.SetOpen(true);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(error, 0);
    EXPECT_TRUE(port.IsEnabled());
    EXPECT_TRUE(device->PortOpen());

    port.SetComNumber(1);
    EXPECT_FALSE(port.Open()) << "even the same number closes";
    EXPECT_FALSE(device->PortOpen());
    EXPECT_EQ(closed, 1);
    port.SetOpen(false);
    EXPECT_EQ(closed, 1);

    // Ring sizes close and reopen an open port.
    port.SetOpen(true);
    port.SetOBuffSize(64);
    EXPECT_TRUE(port.Open());
    EXPECT_EQ(port.OutSize(), 64u);
    EXPECT_EQ(port.GetOutBuffFree(), 64u);
    EXPECT_EQ(opened, 3);
}

TEST_F(CommPortTest, PortThatCannotBeOpenedStaysClosedAndSilent) {
    int opened = 0;
    port.OnOpen = [&](TCommPort*, int) { ++opened; };
    port.SetComNumber(9);
    port.SetOpen(true);
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(port.IsEnabled());

    TCommPort holder(&ports);
    holder.SetComNumber(1);
    holder.SetOpen(true);
    ASSERT_TRUE(holder.Open());
    port.SetComNumber(1);
    port.SetOpen(true);
    EXPECT_FALSE(port.Open()) << "the port is another's";
    EXPECT_FALSE(port.CTS());
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(port.PutBlock("x", 1), 0u);
}

TEST_F(CommPortTest, ClosedPortMovesNothing) {
    char buffer[4];
    EXPECT_EQ(port.PutBlock("abcd", 4), 0u);
    EXPECT_EQ(port.GetBlock(buffer, 4), 0u);
    EXPECT_EQ(port.GetChar(), 0);
    EXPECT_FALSE(port.CharReady());
    EXPECT_FALSE(port.SetBreak(true));
    EXPECT_FALSE(port.GetModemState(1));
    EXPECT_FALSE(port.PurgePort());
    EXPECT_EQ(port.GetOutQueCount(), 0);
    EXPECT_FALSE(port.PowerOn()) << "no port to drive";
    EXPECT_TRUE(port.DTR() && port.RTS()) << "but the states are stored";
    EXPECT_FALSE(port.PowerOff());
    EXPECT_FALSE(port.DTR() || port.RTS());
}

TEST_F(CommPortTest, PutBlockTakesOnlyTheFreeSpaceAndHardwareFlowWaitsForCts) {
    port.SetOBuffSize(16);
    port.SetComControl(ccHard);
    port.SetDTR(false);  // CTS stays low, so the writer must hold the data
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    const std::string data(40, 'z');
    EXPECT_EQ(port.PutBlock(data.data(), 40), 16u);
    EXPECT_EQ(port.GetOutBuffUsed(), 16u);
    EXPECT_EQ(port.GetOutBuffFree(), 0u);
    EXPECT_EQ(port.PutChar('x'), 0u);
    char buffer[8];
    EXPECT_EQ(port.GetBlock(buffer, 8), 0u) << "nothing ever comes in from the device";

    port.SetDTR(true);
    EXPECT_TRUE(WaitUntil([&] { return port.GetOutBuffUsed() == 0; }));
    EXPECT_EQ(port.PutString("abc"), 3);
    EXPECT_EQ(port.PutString(""), 0);
    EXPECT_TRUE(WaitUntil([&] { return port.GetOutBuffUsed() == 0; }));
    EXPECT_TRUE(port.GetModemState(1));
    EXPECT_FALSE(port.GetModemState(2));
    EXPECT_FALSE(port.GetModemState(5));
}

TEST_F(CommPortTest, FlushOutBufferEmptiesTheRing) {
    port.SetComControl(ccHard);
    port.SetDTR(false);
    port.SetOpen(true);
    EXPECT_EQ(port.PutBlock("12345678", 8), 8u);
    port.FlushOutBuffer();
    EXPECT_EQ(port.GetOutBuffUsed(), 0u);
    EXPECT_EQ(port.GetOutBuffFree(), port.OutSize());
    port.FlushInBuffer();
    EXPECT_TRUE(port.PurgePort());
}

TEST_F(CommPortTest, CtsFollowsTheWireAndReadsFalseAfterClose) {
    port.SetDTR(true);
    port.SetOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return port.CTS(); }));
    device->Access([](Orb31Emulator& e) { e.SetConnected(false); });
    EXPECT_TRUE(WaitUntil([&] { return !port.CTS(); }));
    device->Access([](Orb31Emulator& e) {
        e.SetConnected(true);
        e.SetWireFault(Orb31Emulator::WireFault::StuckHigh);
    });
    EXPECT_TRUE(WaitUntil([&] { return port.CTS(); }));
    port.SetOpen(false);
    EXPECT_FALSE(port.CTS()) << "the line is still on, the component is closed";
    EXPECT_TRUE(device->Access([](Orb31Emulator& e) { return e.Cts(); }));
}

TEST_F(CommPortTest, DelayedCtsReachesTheComponentLate) {
    port.SetDTR(true);
    port.SetOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return port.CTS(); }));
    device->SetCtsDelay(200ms);
    const auto changed = std::chrono::steady_clock::now();
    port.SetDTR(false);
    ASSERT_TRUE(WaitUntil([&] { return !port.CTS(); }));
    EXPECT_GE(std::chrono::steady_clock::now() - changed, 200ms);
}

TEST_F(CommPortTest, EventsAreRaisedOnTheMainThread) {
    const auto mainThread = std::this_thread::get_id();
    int raised = 0;
    bool onMain = true;
    port.OnCTSSignal = [&](TCommPort* sender) {
        EXPECT_EQ(sender, &port);
        onMain = onMain && std::this_thread::get_id() == mainThread;
        ++raised;
    };
    port.SetOpen(true);
    port.SetDTR(true);
    EXPECT_TRUE(WaitUntil([&] { return raised > 0; }, true));
    EXPECT_TRUE(onMain);
    // Without an event loop the owner serves them itself.
    const int before = raised;
    port.SetDTR(false);
    EXPECT_TRUE(WaitUntil([&] {
        port.ServeEvents();
        return raised > before;
    }));
    EXPECT_TRUE(onMain);
}

TEST_F(CommPortTest, CloseNeverWaitsOnAPendingEventDelivery) {
    int raised = 0;
    port.OnCTSSignal = [&](TCommPort*) { ++raised; };
    port.SetOpen(true);
    for (int i = 0; i < 20; ++i) port.SetDTR(i % 2 == 0);
    ASSERT_TRUE(WaitUntil([&] { return !port.CTS(); }));
    port.SetOpen(false);  // nobody has served the deliveries: this must not hang
    EXPECT_FALSE(port.Open());
    EXPECT_LE(raised, 20);

    // A handler that closes the port from inside its delivery.
    port.OnCTSSignal = [](TCommPort* sender) { sender->SetOpen(false); };
    port.SetOpen(true);
    port.SetDTR(true);
    EXPECT_TRUE(WaitUntil([&] { return !port.Open(); }, true));
    EXPECT_FALSE(device->PortOpen());
}

// The bus lines of a port component, as the device link drives and samples them.
struct PortLines {
    TCommPort& port;
    void SetDtr(bool high) { port.SetDTR(high); }
    void SetRts(bool high) { port.SetRTS(high); }
    bool Cts() const { return port.CTS(); }
};

TEST_F(CommPortTest, BusTransfersThroughTheComponentWithCtsKeptByTheStatusThread) {
    device->SetLockstep(true);
    LoadCommPort1Properties(port);
    port.SetOpen(true);
    ASSERT_TRUE(WaitUntil([&] { return port.CTS(); })) << "present: the data line reads high";
    PortLines lines{port};
    BasicHost<PortLines> host(lines);
    ASSERT_TRUE(host.Write(8, {0x14, 0xFF, 0x00, 0xA5}));
    std::this_thread::sleep_for(10ms);  // the write cycle, as the device link sleeps after a write
    EXPECT_EQ(host.Read(8, 4), (std::vector<int>{0x14, 0xFF, 0x00, 0xA5}));
    host.Stop();  // the next byte is blank, so this STOP is seen
    EXPECT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::Idle);

    // The bus reset frees a device left driving the wire after a read, by closing and opening.
    device->Access([](Orb31Emulator& e) { e.Contents()[13] = 0x00; });
    host.Read(12, 1);
    host.Stop();
    ASSERT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::ReadData);
    for (int pass = 0; pass < 21; ++pass) {
        port.SetOpen(false);
        port.SetDTR(true);
        port.SetRTS(true);
        port.SetOpen(true);
    }
    EXPECT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Orb31Emulator::Phase::Idle);
    EXPECT_TRUE(WaitUntil([&] { return port.CTS(); }));

    // No device: every bit reads low, every acknowledge reads as given.
    device->Access([](Orb31Emulator& e) { e.SetConnected(false); });
    ASSERT_TRUE(WaitUntil([&] { return !port.CTS(); }));
    EXPECT_EQ(host.Read(0, 2), (std::vector<int>{0, 0}));
}

}  // namespace
