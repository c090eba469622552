// The component's data path over a pseudo-terminal pair, through the port
// list's [PORTS] section: rings, reader and writer threads, OnDataReceived.
#include <gtest/gtest.h>

#include <string>

#include "CommPort.h"
#include "SerialPortList.h"
#include "pty_pair.h"
#include "temp_dir.h"
#include "wait_until.h"

namespace {

class CommPortPtyTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(pty.Slave().empty());
        WriteFileBytes(dir.File("vestorin.cfg"), "[PORTS]\nCOM7=" + pty.Slave() + "\n");
        ports.SetConfigPath(dir.File("vestorin.cfg"));
        port.SetComNumber(7);
        port.SetBaud(38400);
    }
    void TearDown() override { port.SetOpen(false); }

    void Send(const std::string& bytes) { ASSERT_TRUE(pty.Send(bytes)); }
    std::string Receive(std::size_t count) { return pty.Receive(count); }
    // Everything the component hands out until `count` bytes have come.
    std::string Collect(std::size_t count, bool processEvents = false) {
        std::string got;
        WaitUntil(
            [&] {
                char buffer[100];
                const unsigned long n = port.GetBlock(buffer, sizeof buffer);
                got.append(buffer, n);
                return got.size() >= count;
            },
            processEvents);
        return got;
    }

    TempDir dir;
    PtyPair pty;
    platform::SerialPortList ports{"", ""};
    TCommPort port{&ports};
};

std::string Pattern(std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size; ++i) bytes += static_cast<char>(i * 31 + 7);
    return bytes;
}

TEST_F(CommPortPtyTest, WritesWhatIsPutThroughTheOutputRingAcrossItsEnd) {
    port.SetOBuffSize(64);
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    const std::string data = Pattern(1000);
    std::size_t put = 0;
    std::string received;
    while (put < data.size()) {
        put += port.PutBlock(data.data() + put, static_cast<unsigned long>(data.size() - put));
        received += Receive(1);  // keeps the pty from filling up
        ASSERT_FALSE(received.empty());
    }
    received += Receive(data.size() - received.size());
    EXPECT_EQ(received, data);
    EXPECT_TRUE(WaitUntil([&] { return port.GetOutBuffUsed() == 0; }));
}

TEST_F(CommPortPtyTest, ReadsIntoTheInputRingAndWaitsWhileItIsFull) {
    port.SetIBuffSize(64);
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    const std::string data = Pattern(500);  // several rings full
    Send(data);
    EXPECT_TRUE(WaitUntil([&] { return port.GetInBuffFree() == 0; })) << "the reader stops on a full ring";
    EXPECT_EQ(Collect(data.size()), data);
    EXPECT_FALSE(port.CharReady());
    EXPECT_EQ(port.GetChar(), 0);
    Send("Q");
    EXPECT_TRUE(WaitUntil([&] { return port.CharReady(); }));
    EXPECT_EQ(port.GetChar(), 'Q');
}

TEST_F(CommPortPtyTest, FlushInBufferDropsWhatWasReceived) {
    port.SetOpen(true);
    Send("old");
    ASSERT_TRUE(WaitUntil([&] { return port.GetInBuffUsed() == 3; }));
    port.FlushInBuffer();
    EXPECT_EQ(port.GetInBuffUsed(), 0u);
    Send("new");
    EXPECT_EQ(Collect(3), "new");
}

TEST_F(CommPortPtyTest, DataReceivedIsRaisedOnTheMainThread) {
    unsigned long reported = 0;
    int rxChar = 0;
    port.OnDataReceived = [&](TCommPort* sender, unsigned long count) {
        EXPECT_EQ(sender, &port);
        reported = std::max(reported, count);
    };
    port.OnRxDSignal = [&](TCommPort*) { ++rxChar; };
    port.SetOpen(true);
    Send("abcd");
    EXPECT_TRUE(WaitUntil([&] { return reported >= 4 && rxChar > 0; }, true));
    EXPECT_EQ(Collect(4, true), "abcd");
}

TEST_F(CommPortPtyTest, PtyPortIsExclusiveAndHasNoModemLines) {
    port.SetOpen(true);
    ASSERT_TRUE(port.Open());
    TCommPort other(&ports);
    other.SetComNumber(7);
    other.SetOpen(true);
    EXPECT_FALSE(other.Open());
    EXPECT_FALSE(port.CTS());
    port.SetDTR(true);
    EXPECT_FALSE(port.DTR()) << "the driver refused, the stored state stays";
}

}  // namespace
