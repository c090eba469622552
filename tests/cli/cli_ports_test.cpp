#include <gtest/gtest.h>

#include <sstream>

#include "SerialPortList.h"
#include "cli_run.h"
#include "pty_pair.h"
#include "temp_dir.h"

namespace {

// The line of the output that starts with the port's name.
std::string LineOf(const std::string& out, const std::string& portName) {
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(portName + " ", 0) == 0) return line;
    return {};
}

class CliPortsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};  // the start folder with its vestorin.cfg
};

TEST_F(CliPortsTest, EmulatedDeviceIsListedOnItsPortWhileTheCommandRuns) {
    const CliRun run = RunArgs({"ports", "--emulate-device", "--emulate-port", "4"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    const std::string line = LineOf(run.out, "COM4");
    EXPECT_NE(line.find(" emulator "), std::string::npos) << run.out;
    EXPECT_NE(line.find("(ORB-31 emulator)"), std::string::npos) << run.out;
    for (const auto& port : platform::SerialPortList::System().Ports())
        EXPECT_FALSE(port.path.empty()) << "the emulator is gone with the command";

    const CliRun image = RunArgs({"ports", "--emulate-device=" + dir.File("orb.img")});
    EXPECT_NE(LineOf(image.out, "COM1").find("emulator"), std::string::npos) << image.out;
}

TEST_F(CliPortsTest, ConfiguredPortsOfTheStartFolderAreListed) {
    PtyPair pty;
    ASSERT_FALSE(pty.Slave().empty());
    WriteFileBytes(dir.File("vestorin.cfg"), "[PORTS]\nCOM9=" + pty.Slave() + "\n");
    const CliRun run = RunArgs({"ports"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_NE(LineOf(run.out, "COM9").find(pty.Slave()), std::string::npos) << run.out;
}

TEST_F(CliPortsTest, BadOptionsAndUnreadableImages) {
    EXPECT_EQ(RunArgs({"ports", "--emulate-device", "--emulate-port", "0"}).status, kExitBadArguments);
    EXPECT_EQ(RunArgs({"ports", "--emulate-port", "2"}).status, kExitBadArguments);
    EXPECT_EQ(RunArgs({"ports", "COM1"}).status, kExitBadArguments);
    WriteFileBytes(dir.File("bad.img"), "short");
    const CliRun run = RunArgs({"ports", "--emulate-device=" + dir.File("bad.img")});
    EXPECT_EQ(run.status, kExitReadFailed);
    EXPECT_NE(run.err.find("bad.img"), std::string::npos);
    EXPECT_NE(run.err.find("1024"), std::string::npos);
}

}  // namespace
