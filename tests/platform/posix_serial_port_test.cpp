// The tty port on a pseudo-terminal pair: the data path, exclusive use and
// the waits. Ptys have no modem lines; the emulated device covers those.
#include <gtest/gtest.h>

#include <cerrno>
#include <future>
#include <string>

#include "PosixSerialPort.h"
#include "pty_pair.h"
#include "serial_port_checks.h"
#include "temp_dir.h"

namespace {

TEST(PosixSerialPort, OpensATtyForThisProgramAlone) {
    PtyPair pty;
    ASSERT_FALSE(pty.Slave().empty());
    int error = -1;
    auto port = platform::OpenPosixSerialPort(pty.Slave(), error);
    ASSERT_TRUE(port) << error;
    EXPECT_EQ(error, 0);
    EXPECT_FALSE(platform::OpenPosixSerialPort(pty.Slave(), error));
    EXPECT_EQ(error, EBUSY);
    port.reset();
    EXPECT_TRUE(platform::OpenPosixSerialPort(pty.Slave(), error));

    TempDir dir;
    WriteFileBytes(dir.File("plain"), "x");
    EXPECT_FALSE(platform::OpenPosixSerialPort(dir.File("plain"), error));
    EXPECT_EQ(error, ENOTTY);
    EXPECT_FALSE(platform::OpenPosixSerialPort(dir.File("missing"), error));
    EXPECT_EQ(error, ENOENT);
}

TEST(PosixSerialPort, MovesBytesBothWaysWithoutBlocking) {
    PtyPair pty;
    int error = 0;
    auto port = platform::OpenPosixSerialPort(pty.Slave(), error);
    ASSERT_TRUE(port);
    platform::SerialLineSettings settings;
    settings.baud = 38400;
    EXPECT_TRUE(port->Configure(settings));
    settings.baud = 14400;  // no Bnnn constant for it
    settings.dataBits = 7;
    settings.parity = platform::Parity::Mark;
    settings.stopBits = platform::StopBits::Two;
    EXPECT_TRUE(port->Configure(settings));
    settings = {};
    EXPECT_TRUE(port->Configure(settings));

    char buffer[16];
    EXPECT_EQ(port->Read(buffer, sizeof buffer), 0) << "nothing there yet, and no waiting for it";
    EXPECT_EQ(port->Write("\x00\x11\xFF\n", 4), 4);
    EXPECT_EQ(pty.Receive(4), std::string("\x00\x11\xFF\n", 4)) << "raw: nothing added or changed";

    ASSERT_TRUE(pty.Send("hello"));
    EXPECT_EQ(port->WaitReady(platform::IoSide::Input, 10000), 1);
    EXPECT_EQ(port->InputQueued(), 5);
    EXPECT_EQ(port->Read(buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(port->WaitReady(platform::IoSide::Output, 0), 1);
    EXPECT_EQ(port->OutputQueued(), 0);
    EXPECT_TRUE(port->Purge(true, true));
}

TEST(PosixSerialPort, InterruptEndsADataWaitNowOrTheNextOne) {
    PtyPair pty;
    int error = 0;
    auto port = platform::OpenPosixSerialPort(pty.Slave(), error);
    ASSERT_TRUE(port);
    port->Interrupt(platform::IoSide::Input);
    EXPECT_EQ(port->WaitReady(platform::IoSide::Input, -1), 0);
    auto waiting = std::async(std::launch::async, [&] { return port->WaitReady(platform::IoSide::Input, -1); });
    port->Interrupt(platform::IoSide::Input);
    EXPECT_EQ(waiting.get(), 0);
}

TEST(PosixSerialPort, PtyHasNoModemLinesAndItsStatusWaitIsCancelled) {
    PtyPair pty;
    int error = 0;
    auto port = platform::OpenPosixSerialPort(pty.Slave(), error);
    ASSERT_TRUE(port);
    unsigned bits = 0;
    EXPECT_FALSE(port->GetModemStatus(bits));
    EXPECT_FALSE(port->SetDtr(true));
    bool dtr = false, rts = false;
    EXPECT_FALSE(port->GetControlLines(dtr, rts));
    ExpectModemWaitCancelled(*port);
}

}  // namespace
