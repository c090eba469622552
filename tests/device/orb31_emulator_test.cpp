// The emulated device driven edge by edge, the way the host's lines move.
#include <gtest/gtest.h>

#include <vector>

#include "Orb31Emulator.h"
#include "bus_host.h"
#include "temp_dir.h"

namespace {

using Phase = Orb31Emulator::Phase;
using namespace std::chrono_literals;

// The write cycle on a clock the test moves.
struct FakeClock {
    Orb31Emulator::TimePoint now{};
    Orb31Emulator::Clock Get() {
        return [this] { return now; };
    }
};

class Orb31EmulatorTest : public ::testing::Test {
protected:
    FakeClock clock;
    Orb31Emulator device{clock.Get()};
    Host host{device};

    void FillPattern() {
        for (int i = 0; i < Orb31Emulator::kMemorySize; ++i)
            device.Contents()[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    int At(int address) const { return device.Contents()[static_cast<std::size_t>(address)]; }
};

TEST_F(Orb31EmulatorTest, StartAndStopAreDataEdgesWhileTheClockIsHigh) {
    EXPECT_EQ(device.State(), Phase::Idle);
    host.Start();
    EXPECT_EQ(device.State(), Phase::Control);
    // Data edges with the clock low are bits, not conditions.
    device.SetRts(false);
    device.SetDtr(true);
    device.SetDtr(false);
    EXPECT_EQ(device.State(), Phase::Control);
    device.SetRts(true);
    device.SetDtr(true);  // STOP
    EXPECT_EQ(device.State(), Phase::Idle);
    // A data edge with the clock low never starts anything.
    device.SetRts(false);
    device.SetDtr(false);
    device.SetDtr(true);
    EXPECT_EQ(device.State(), Phase::Idle);
}

TEST_F(Orb31EmulatorTest, AcknowledgeIsDrivenLowForTheNinthClockOnly) {
    host.Start();
    for (int bit = 7; bit >= 0; --bit) host.SendBit((0xA0 >> bit) & 1);
    EXPECT_FALSE(device.DrivingLow()) << "not before the eighth clock has ended";
    device.SetRts(false);
    EXPECT_TRUE(device.DrivingLow());
    device.SetDtr(true);  // the host lets go of the wire
    EXPECT_FALSE(device.Cts());
    device.SetRts(true);
    EXPECT_FALSE(device.Cts()) << "held through the ninth clock";
    device.SetRts(false);
    EXPECT_FALSE(device.DrivingLow());
    EXPECT_TRUE(device.Cts());
    EXPECT_EQ(device.State(), Phase::WordAddress);
}

TEST_F(Orb31EmulatorTest, ControlBytesAnsweredAreThoseOfChipSelectZero) {
    const struct {
        int control;
        bool acknowledged;
    } cases[] = {{0xA0, true},  {0xA1, true},  {0xA6, true},  {0xA7, true}, {0xA8, false},
                 {0xAE, false}, {0xB0, false}, {0x50, false}, {0x00, false}};
    for (const auto& c : cases) {
        host.Start();
        EXPECT_EQ(host.SendByte(c.control), c.acknowledged) << std::hex << c.control;
        if (!c.acknowledged) {
            EXPECT_EQ(device.State(), Phase::Idle) << std::hex << c.control;
            EXPECT_TRUE(device.Cts()) << "a device that does not answer leaves the wire free";
        }
        host.Stop();
    }
}

TEST_F(Orb31EmulatorTest, PageWriteWrapsInsideItsPageAndIsStoredAtTheStop) {
    std::vector<int> bytes;
    for (int i = 0; i < 20; ++i) bytes.push_back(0x40 + i);
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA6) && host.SendByte(0xE8));  // address 1000, page 992..1007
    for (int byte : bytes) ASSERT_TRUE(host.SendByte(byte));
    EXPECT_EQ(At(1000), 0xFF) << "nothing is stored before the STOP";
    host.Stop();
    EXPECT_EQ(At(991), 0xFF);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(At(992 + i), 0x48 + i);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(At(1000 + i), 0x50 + i) << "wrapped over the first bytes";
    for (int i = 4; i < 8; ++i) EXPECT_EQ(At(1000 + i), 0x40 + i);
    EXPECT_EQ(At(1008), 0xFF);
    EXPECT_TRUE(device.Written());
}

TEST_F(Orb31EmulatorTest, StartWithoutStopAbandonsThePageWrite) {
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA0) && host.SendByte(0x10) && host.SendByte(0x12));
    device.SetRts(false);
    device.SetDtr(true);
    device.SetRts(true);
    host.Start();  // repeated START
    host.Stop();
    EXPECT_EQ(At(0x10), 0xFF);
    EXPECT_FALSE(device.Written());
}

TEST_F(Orb31EmulatorTest, WriteCycleRefusesTheControlByteForAboutFiveMilliseconds) {
    ASSERT_TRUE(host.Write(8, {1, 2, 3}));
    EXPECT_TRUE(device.Busy());
    host.Start();
    EXPECT_FALSE(host.SendByte(0xA0));
    host.Stop();
    clock.now += 4900us;
    host.Start();
    EXPECT_FALSE(host.SendByte(0xA1));
    host.Stop();
    clock.now += 200us;
    EXPECT_FALSE(device.Busy());
    EXPECT_EQ(host.Read(8, 3), (std::vector<int>{1, 2, 3}));
    host.EndRead();
    // A STOP after the word address alone writes nothing and starts no cycle.
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA0) && host.SendByte(0x20));
    host.Stop();
    EXPECT_FALSE(device.Busy());
}

TEST_F(Orb31EmulatorTest, SequentialReadRunsAcrossTheMemoryAndWrapsAt1024) {
    FillPattern();
    EXPECT_EQ(host.Read(1021, 5), (std::vector<int>{At(1021), At(1022), At(1023), At(0), At(1)}));
    EXPECT_EQ(device.AddressCounter(), 3);
    host.EndRead();
    EXPECT_EQ(device.State(), Phase::Idle);
    // A random read through a dummy write and a repeated START, across a block boundary.
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA2) && host.SendByte(0xFF));  // random read through a dummy write to 511
    device.SetRts(false);
    device.SetDtr(true);
    device.SetRts(true);
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA1));
    EXPECT_EQ(host.ReadByte(), At(511));
    EXPECT_EQ(host.ReadByte(), At(512));
}

TEST_F(Orb31EmulatorTest, AfterAnAcknowledgedLastByteTheDeviceHoldsTheWireUntilClockedOut) {
    device.Contents()[2] = 0x12;  // next byte after the one read begins with a 0 bit
    host.Read(1, 1);
    EXPECT_TRUE(device.DrivingLow());
    host.Stop();
    EXPECT_EQ(device.State(), Phase::ReadData) << "the STOP cannot raise a wire the device holds low";
    // Clock pulses with the data line released: the rest of the byte, then no acknowledge.
    int pulses = 0;
    while (device.State() != Phase::Idle && pulses < 21) {
        device.SetRts(false);
        device.SetDtr(true);
        device.SetRts(true);
        ++pulses;
    }
    EXPECT_EQ(device.State(), Phase::Idle);
    EXPECT_LE(pulses, 9);
    EXPECT_TRUE(device.Cts());
}

TEST_F(Orb31EmulatorTest, AbsentDeviceReadsLowAndMissesTheTransfer) {
    device.SetConnected(false);
    EXPECT_FALSE(device.Cts());
    host.Start();
    EXPECT_TRUE(host.SendByte(0xA0)) << "a low wire reads as an acknowledge";
    EXPECT_EQ(device.State(), Phase::Idle);
    host.Stop();
    device.SetConnected(true);
    EXPECT_TRUE(device.Cts());
    EXPECT_EQ(device.State(), Phase::Idle) << "plugging in is no edge";
}

TEST_F(Orb31EmulatorTest, FaultNoAcknowledgeFromTheNthByteOn) {
    device.FailAckFromByte(3);
    host.Start();
    EXPECT_TRUE(host.SendByte(0xA0));
    EXPECT_TRUE(host.SendByte(0x00));
    EXPECT_FALSE(host.SendByte(0x55));
    host.Stop();
    EXPECT_EQ(At(0), 0xFF);
    host.Start();
    EXPECT_FALSE(host.SendByte(0xA0)) << "and every byte after it";
    host.Stop();
    device.FailAckFromByte(0);
    EXPECT_TRUE(host.Write(0, {0x55}));
}

TEST_F(Orb31EmulatorTest, FaultWireStuck) {
    device.SetWireFault(Orb31Emulator::WireFault::StuckLow);
    EXPECT_FALSE(device.Cts());
    EXPECT_EQ(device.State(), Phase::Control) << "the wire fell while the clock was high";
    host.Stop();
    host.Start();
    EXPECT_TRUE(host.SendByte(0xFF));  // reads as acknowledged, like an absent device
    host.Stop();
    device.SetWireFault(Orb31Emulator::WireFault::StuckHigh);
    EXPECT_TRUE(device.Cts());
    host.Start();
    EXPECT_FALSE(host.SendByte(0xA0)) << "a wire stuck high never reads as an acknowledge";
    device.SetWireFault(Orb31Emulator::WireFault::None);
    host.Stop();
    EXPECT_EQ(host.Read(0, 1), (std::vector<int>{0xFF}));
}

TEST_F(Orb31EmulatorTest, FaultFlippedBitReadsInvertedWhateverIsWritten) {
    device.SetFlippedBit(10, 0);
    ASSERT_TRUE(host.Write(8, {0x11, 0x22, 0x34}));
    clock.now += 10ms;
    EXPECT_EQ(host.Read(8, 3), (std::vector<int>{0x11, 0x22, 0x35}));
    EXPECT_EQ(At(10), 0x34) << "the memory holds what was written";
    device.ClearFlippedBits();
    host.EndRead();
    EXPECT_EQ(host.Read(10, 1), (std::vector<int>{0x34}));
}

TEST_F(Orb31EmulatorTest, FaultUnpluggedInTheMiddleOfAWrite) {
    device.UnplugAfterClocks(9 + 9 + 4);  // inside the first data byte
    host.Start();
    ASSERT_TRUE(host.SendByte(0xA0));
    ASSERT_TRUE(host.SendByte(0x00));
    host.SendByte(0x42);
    EXPECT_FALSE(device.Connected());
    EXPECT_FALSE(device.Cts());
    host.Stop();
    device.SetConnected(true);
    EXPECT_EQ(At(0), 0xFF);
    EXPECT_FALSE(device.Written());
}

TEST(Orb31EmulatorImage, LoadAndSaveARaw1024ByteImage) {
    TempDir dir;
    Orb31Emulator device;
    device.Contents()[0] = 0x00;
    EXPECT_EQ(device.LoadImage(dir.File("none.img")), Orb31Emulator::ImageStatus::Missing);
    EXPECT_EQ(device.Contents()[0], 0xFF) << "a missing image starts blank";

    std::string bytes(1024, '\x5A');
    bytes[1023] = '\x01';
    WriteFileBytes(dir.File("orb.img"), bytes);
    EXPECT_EQ(device.LoadImage(dir.File("orb.img")), Orb31Emulator::ImageStatus::Loaded);
    EXPECT_EQ(device.Contents()[0], 0x5A);
    EXPECT_EQ(device.Contents()[1023], 0x01);

    WriteFileBytes(dir.File("short.img"), std::string(1000, '\0'));
    EXPECT_EQ(device.LoadImage(dir.File("short.img")), Orb31Emulator::ImageStatus::Unreadable);
    EXPECT_EQ(device.LoadImage(dir.Path()), Orb31Emulator::ImageStatus::Unreadable);
    EXPECT_EQ(device.Contents()[0], 0x5A) << "unchanged by a file it refused";

    device.Contents()[5] = 0x77;
    ASSERT_TRUE(device.SaveImage(dir.File("saved.img")));
    const std::string saved = ReadFileBytes(dir.File("saved.img"));
    ASSERT_EQ(saved.size(), 1024u);
    EXPECT_EQ(saved[5], '\x77');
    EXPECT_EQ(saved[1023], '\x01');
    EXPECT_FALSE(device.SaveImage(dir.File("no-such-folder/saved.img")));
}

}  // namespace
