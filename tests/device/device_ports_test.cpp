// The port list as the device dialog keeps it, and the emulator's start options.
#include <gtest/gtest.h>

#include "CommPort.h"
#include "Cp1251.h"
#include "DevicePorts.h"
#include "SerialPortList.h"
#include "temp_dir.h"

namespace {

std::unique_ptr<platform::SerialPort> NoPort(int& error) {
    error = 0;
    return nullptr;
}

TEST(ReadSerialPorts, SplitsNamesIntoLettersAndNumbersByPortNumber) {
    platform::SerialPortList list("", "");
    list.AddPort(12, "ttyUSB3", "", NoPort);
    list.AddPort(2, "emulator", "", NoPort);
    list.AddPort(1, "ttyS0", "", NoPort);
    const std::vector<SerialRecord> expected = {
        {"COM", 1, "ttyS", 0}, {"COM", 2, "emulator", 0}, {"COM", 12, "ttyUSB", 3}};
    EXPECT_EQ(ReadSerialPorts(list), expected);
    EXPECT_TRUE(ReadSerialPorts(platform::SerialPortList("", "")).empty());
}

TEST(DeviceOptions, AreTakenOutOfTheArguments) {
    const struct {
        std::vector<std::string> args;
        bool emulate;
        std::string image;
        int port;
        std::string trace;
        std::vector<std::string> rest;
    } cases[] = {
        {{"ports"}, false, "", 1, "", {"ports"}},
        {{"--emulate-device", "ports"}, true, "", 1, "", {"ports"}},
        {{"ports", "--emulate-device=/tmp/a b.img"}, true, "/tmp/a b.img", 1, "", {"ports"}},
        {{"--emulate-port", "2", "x", "--emulate-device"}, true, "", 2, "", {"x"}},
        {{"--emulate-device", "--emulate-port=255", "--bus-trace=t.vcd"}, true, "", 255, "t.vcd", {}},
        {{"--bus-trace=bus.vcd", "read"}, false, "", 1, "bus.vcd", {"read"}},
        {{"read", "--trace", "t.vcd", "--speed", "20"}, false, "", 1, "t.vcd", {"read", "--speed", "20"}},
        {{"--trace=a.vcd", "clear"}, false, "", 1, "a.vcd", {"clear"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        DeviceOptions options;
        std::string error;
        ASSERT_TRUE(TakeDeviceOptions(args, options, error)) << cp1251::ToUtf8(error);
        EXPECT_EQ(options.emulate, c.emulate);
        EXPECT_EQ(options.trace, c.trace);
        EXPECT_EQ(options.image, c.image);
        EXPECT_EQ(options.port, c.port);
        EXPECT_EQ(args, c.rest);
    }
}

TEST(DeviceOptions, BadOnesAreRefusedWithAMessage) {
    const std::vector<std::vector<std::string>> bad = {
        {"--emulate-device", "--emulate-port"},
        {"--emulate-device", "--emulate-port", "0"},
        {"--emulate-device", "--emulate-port", "256"},
        {"--emulate-device", "--emulate-port=x1"},
        {"--emulate-device", "--emulate-port", "-3"},
        {"--emulate-device="},
        {"--emulate-port", "2"},
        {"--bus-trace="},
        {"read", "--trace"},
        {"--trace="},
    };
    for (const auto& args : bad) {
        std::vector<std::string> copy = args;
        DeviceOptions options;
        std::string error;
        EXPECT_FALSE(TakeDeviceOptions(copy, options, error)) << args.back();
        EXPECT_FALSE(error.empty());
    }
}

TEST(DeviceSession, PutsTheDeviceOnItsPortForItsLifetime) {
    TempDir dir;
    platform::SerialPortList list("", "");
    {
        DeviceSession session;
        std::string error;
        ASSERT_TRUE(session.StartEmulator({true, dir.File("orb.img"), 3, ""}, list, error));
        ASSERT_TRUE(session.Device());
        const auto ports = list.Ports();
        ASSERT_EQ(ports.size(), 1u);
        EXPECT_EQ(ports[0].portName, "COM3");
        EXPECT_EQ(ports[0].deviceName, kEmulatorDeviceName);
        EXPECT_TRUE(ports[0].path.empty());
        int code = 0;
        EXPECT_TRUE(list.Open(3, code));
    }
    EXPECT_TRUE(list.Ports().empty());

    WriteFileBytes(dir.File("bad.img"), "not an image");
    DeviceSession session;
    std::string error;
    EXPECT_FALSE(session.StartEmulator({true, dir.File("bad.img"), 1, ""}, list, error));
    EXPECT_NE(cp1251::ToUtf8(error).find("bad.img"), std::string::npos);
    EXPECT_TRUE(list.Ports().empty());
    EXPECT_EQ(ReadFileBytes(dir.File("bad.img")), "not an image");
    EXPECT_TRUE(session.StartEmulator({}, list, error)) << "nothing asked, nothing done";
    EXPECT_FALSE(session.Device());
}

TEST(DeviceSession, TraceRecordsThePortComponentsMadeWhileItLasts) {
    TempDir dir;
    platform::SerialPortList list("", "");
    {
        DeviceSession session;
        std::string error;
        ASSERT_TRUE(session.StartEmulator({true, "", 1, dir.File("bus.vcd")}, list, error));
        ASSERT_TRUE(session.StartTrace({true, "", 1, dir.File("bus.vcd")}, error));
        EXPECT_FALSE(session.StartTrace({false, "", 1, dir.File("no/such/bus.vcd")}, error));
        EXPECT_FALSE(error.empty());
        TCommPort port(&list);
        port.SetComNumber(1);
        port.SetRTS(true);
        port.SetOpen(true);
        port.SetOpen(false);
    }
    TCommPort later(&list);
    later.SetOpen(true);  // no trace any more, and no port
    const std::string vcd = ReadFileBytes(dir.File("bus.vcd"));
    EXPECT_NE(vcd.find("\n1!\n"), std::string::npos) << vcd;
    EXPECT_NE(vcd.find("\n0!\n"), std::string::npos) << vcd;
}

}  // namespace
