// The emulated device behind its port: what a port component sees of it.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "EmulatedSerialPort.h"
#include "bus_host.h"
#include "serial_port_checks.h"
#include "temp_dir.h"

namespace {

using namespace std::chrono_literals;
using Phase = Orb31Emulator::Phase;

std::unique_ptr<platform::SerialPort> OpenWithLinesHigh(EmulatedDevice& device) {
    int error = 0;
    auto port = device.OpenPort(error);
    if (port) {
        port->SetDtr(true);
        port->SetRts(true);
    }
    return port;
}

TEST(EmulatedSerialPort, OnlyOnePortAtATime) {
    auto device = std::make_shared<EmulatedDevice>();
    int error = 0;
    auto first = device->OpenPort(error);
    ASSERT_TRUE(first);
    EXPECT_TRUE(device->PortOpen());
    EXPECT_FALSE(device->OpenPort(error));
    EXPECT_EQ(error, EBUSY);
    first.reset();
    EXPECT_FALSE(device->PortOpen());
    EXPECT_TRUE(device->OpenPort(error));
}

TEST(EmulatedSerialPort, OpenLeavesTheLinesLowAndCloseLowersThem) {
    auto device = std::make_shared<EmulatedDevice>();
    auto lines = [&] { return device->Access([](Orb31Emulator& e) { return std::pair(e.Dtr(), e.Rts()); }); };
    int error = 0;
    auto port = device->OpenPort(error);
    EXPECT_EQ(lines(), std::pair(false, false));
    port->SetDtr(true);
    port->SetRts(true);
    EXPECT_EQ(lines(), std::pair(true, true));
    bool dtr = false, rts = false;
    ASSERT_TRUE(port->GetControlLines(dtr, rts));
    EXPECT_TRUE(dtr && rts);
    // The clock drops before the data, so a close on an idle bus is no START.
    port.reset();
    EXPECT_EQ(lines(), std::pair(false, false));
    EXPECT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Phase::Idle);
}

TEST(EmulatedSerialPort, BusResetOfCloseOpenPassesClocksOutAReadTheDeviceStillDrives) {
    auto device = std::make_shared<EmulatedDevice>();
    auto port = OpenWithLinesHigh(*device);
    device->Access([](Orb31Emulator& e) {
        e.Contents()[2] = 0x00;
        Host host(e);
        host.Read(1, 1);  // the last byte acknowledged, as the device link does
        host.Stop();
    });
    ASSERT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Phase::ReadData);
    for (int pass = 0; pass < 21; ++pass) {
        port.reset();
        port = OpenWithLinesHigh(*device);
    }
    EXPECT_EQ(device->Access([](Orb31Emulator& e) { return e.State(); }), Phase::Idle);
    unsigned bits = 0;
    ASSERT_TRUE(port->GetModemStatus(bits));
    EXPECT_EQ(bits, platform::kModemCts) << "the data line is free again";
}

TEST(EmulatedSerialPort, CtsChangesArriveAsModemEvents) {
    auto device = std::make_shared<EmulatedDevice>();
    int error = 0;
    auto port = device->OpenPort(error);
    unsigned bits = 1;
    ASSERT_TRUE(port->GetModemStatus(bits));
    EXPECT_EQ(bits, 0u);
    port->SetDtr(true);
    unsigned events = 0;
    ASSERT_TRUE(port->WaitModemEvent(platform::kModemEvents, events));
    EXPECT_EQ(events, platform::kEventCts);
    ASSERT_TRUE(port->GetModemStatus(bits));
    EXPECT_EQ(bits, platform::kModemCts);
    // A change while no wait is pending is not lost.
    device->Access([](Orb31Emulator& e) { e.SetConnected(false); });
    ASSERT_TRUE(port->WaitModemEvent(platform::kModemEvents, events));
    ASSERT_TRUE(port->GetModemStatus(bits));
    EXPECT_EQ(bits, 0u);
}

TEST(EmulatedSerialPort, DelayedCtsIsNeitherReportedNorReadBeforeItsTime) {
    auto device = std::make_shared<EmulatedDevice>();
    int error = 0;
    auto port = device->OpenPort(error);
    device->SetCtsDelay(150ms);
    const auto changed = std::chrono::steady_clock::now();
    port->SetDtr(true);
    unsigned events = 0;
    ASSERT_TRUE(port->WaitModemEvent(platform::kModemEvents, events));
    EXPECT_GE(std::chrono::steady_clock::now() - changed, 150ms);
    unsigned bits = 0;
    ASSERT_TRUE(port->GetModemStatus(bits));
    EXPECT_EQ(bits, platform::kModemCts);
}

TEST(EmulatedSerialPort, CancelEndsTheWaitNowAndLater) {
    auto device = std::make_shared<EmulatedDevice>();
    int error = 0;
    auto port = device->OpenPort(error);
    ExpectModemWaitCancelled(*port);
    // The data path: nothing comes in, everything goes out, an interrupt ends a wait.
    port->Interrupt(platform::IoSide::Input);
    EXPECT_EQ(port->WaitReady(platform::IoSide::Input, -1), 0);
    EXPECT_EQ(port->WaitReady(platform::IoSide::Output, 0), 1);
    char byte = 0;
    EXPECT_EQ(port->Read(&byte, 1), 0);
    EXPECT_EQ(port->Write("abc", 3), 3);
}

TEST(EmulatedSerialPort, MemoryGoesBackIntoItsImageWhenThePortClosesAfterAWrite) {
    TempDir dir;
    const std::string image = dir.File("orb31.img");
    auto device = std::make_shared<EmulatedDevice>();
    EXPECT_EQ(device->UseImage(image), Orb31Emulator::ImageStatus::Missing);
    OpenWithLinesHigh(*device).reset();
    EXPECT_FALSE(std::filesystem::exists(image)) << "nothing written, nothing saved";

    auto port = OpenWithLinesHigh(*device);
    device->Access([](Orb31Emulator& e) { Host(e).Write(0x10, {0xAB, 0xCD}); });
    port.reset();
    const std::string saved = ReadFileBytes(image);
    ASSERT_EQ(saved.size(), 1024u);
    EXPECT_EQ(saved.substr(0x10, 2), "\xAB\xCD");
    EXPECT_EQ(saved[0], '\xFF');

    auto again = std::make_shared<EmulatedDevice>();
    EXPECT_EQ(again->UseImage(image), Orb31Emulator::ImageStatus::Loaded);
    EXPECT_EQ(again->Access([](Orb31Emulator& e) { return e.Contents()[0x11]; }), 0xCD);
    WriteFileBytes(dir.File("bad.img"), "short");
    EXPECT_EQ(again->UseImage(dir.File("bad.img")), Orb31Emulator::ImageStatus::Unreadable);
    EXPECT_EQ(again->ImagePath(), image) << "a refused file is never written over";
}

}  // namespace
