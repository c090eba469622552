// The device commands end to end on the emulated ORB-31, with the port's real
// threads and real timing: what the memory holds afterwards, byte for byte,
// and what the user is told. No failure may ever end in a success message.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CommPort.h"
#include "Cp1251.h"
#include "DevicePorts.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"
#include "device_fixtures.h"
#include "device_memory.h"
#include "device_operations.h"
#include "emulated_port_rig.h"
#include "recording_controls.h"
#include "recording_reporter.h"

using namespace cp1251_literals;
using namespace std::string_literals;

namespace {

using Memory = Orb31Emulator::Memory;

class DeviceOperationsTest : public ::testing::Test, protected EmulatedPortRig {
protected:
    // The status-line texts in order, UTF-8, with their kinds.
    std::vector<std::pair<std::string, int>> Messages() const {
        std::vector<std::pair<std::string, int>> messages;
        for (const auto& m : reporter.messages) messages.emplace_back(cp1251::ToUtf8(m.text), m.kind);
        return messages;
    }
    void ExpectNoSuccess() const {
        for (const auto& m : reporter.messages) EXPECT_NE(m.kind, kMessageSuccess) << cp1251::ToUtf8(m.text);
        for (const auto& box : controls.boxes) EXPECT_NE(box.icon, MessageIcon::Information) << box.text;
    }
    void ExpectLastError(const std::string& utf8) const {
        ASSERT_FALSE(reporter.messages.empty());
        EXPECT_EQ(cp1251::ToUtf8(reporter.Last().text), utf8);
        EXPECT_EQ(reporter.Last().kind, kMessageError);
    }
    void ExpectOneBox(const std::string& text, const std::string& caption, MessageIcon icon) const {
        ASSERT_EQ(controls.boxes.size(), 1u);
        EXPECT_EQ(controls.boxes[0].text, text);
        EXPECT_EQ(controls.boxes[0].caption, caption);
        EXPECT_EQ(controls.boxes[0].icon, icon);
    }
    // A read that goes through and finds no keys, only the report text.
    void ExpectReadsNoKeys(const std::string& report) {
        std::vector<BaseRecord> keys = SoundKeys(2);
        ASSERT_EQ(operations.ReadKeys(keys), DeviceResult::kDone);
        EXPECT_TRUE(keys.empty());
        EXPECT_EQ(controls.report, report);
    }
    // Every operation ends with the port closed, the controls back and the device idle.
    void ExpectEnded(const char* controlsOn = "EnableWriteControls on") {
        EXPECT_FALSE(port.Open());
        EXPECT_FALSE(device->PortOpen());
        ASSERT_FALSE(controls.log.empty());
        EXPECT_EQ(controls.log.back(), controlsOn);
    }
    void Reset() {
        reporter = RecordingReporter{};
        controls.log.clear();
        controls.boxes.clear();
    }

    RecordingControls controls;
    RecordingReporter reporter;
    DeviceOperations operations{port, controls, reporter};
};

// 99 keys and a full report, then 98 and one character less, then a single
// key, whose terminator hides the keys an earlier write left behind it.
TEST_F(DeviceOperationsTest, FullWritesAndAShorterOneLeaveTheExactMemoryMap) {
    const struct {
        int entries;
        std::string report;
    } writes[] = {{99, std::string(224, 'x')}, {98, std::string(223, 'y')}, {1, "z"}};
    int first = 1;
    for (const auto& w : writes) {
        Reset();
        const auto entries = SoundKeys(w.entries, first);
        first += 100;
        controls.report = w.report;
        const Memory before = Image();
        ASSERT_EQ(operations.WriteEntries(entries), DeviceResult::kDone) << w.entries;
        const auto bytes = ReportBytes(w.report);
        EXPECT_EQ(Image(), WrittenImage(before, WriteCellList(entries), std::string(bytes.begin(), bytes.end())))
            << w.entries << " entries";
        EXPECT_EQ(Messages().back(), (std::pair<std::string, int>{"Запись в прибор успешна!", kMessageSuccess}));
        ExpectOneBox("Запись в прибор успешна!", "Сообщение", MessageIcon::Information);
        ExpectEnded();
    }
    Reset();
    std::vector<BaseRecord> keys;
    controls.report.clear();
    ASSERT_EQ(operations.ReadKeys(keys), DeviceResult::kDone);
    ASSERT_EQ(keys.size(), 1u) << "cells behind the first blank are not keys";
    EXPECT_EQ(keys[0].KeyHex, SoundKey(201).KeyHex);
    EXPECT_EQ(controls.report, "z");
    ExpectEnded("EnableReadControls on");
    EXPECT_EQ(controls.log,
              (std::vector<std::string>{"UsePort 1", "EnableReadControls off", "Status Чтение памяти... #f0ffec",
                                        "Progress 128", "EnableReadControls on"}));
    EXPECT_EQ(controls.progressPosition, 128);
    EXPECT_EQ(Messages(), (std::vector<std::pair<std::string, int>>{{"Чтение памяти...", kMessageInfo}}));
}

// Each report length once; 224 and more go without a 0 byte, and what is
// longer is cut, as a read shows.
TEST_F(DeviceOperationsTest, ReportTextsOfEveryLengthThatMatters) {
    const struct {
        std::string text;
        std::string stored;  // what lies from byte 800 on afterwards
    } cases[] = {
        {"", std::string(1, '\0')},
        {"Я"_cp, "Я\0"_cp},
        {std::string(223, 'a'), std::string(223, 'a') + '\0'},
        {std::string(224, 'b'), std::string(224, 'b')},
        {std::string(224, 'c') + "cut off", std::string(224, 'c')},
    };
    for (const auto& c : cases) {
        Reset();
        controls.report = c.text;
        const Memory before = Image();
        ASSERT_EQ(operations.WriteEntries({SoundKey(7)}), DeviceResult::kDone) << c.text.size();
        EXPECT_EQ(Image(), WrittenImage(before, WriteCellList({SoundKey(7)}), c.stored)) << c.text.size();
    }
    std::vector<BaseRecord> keys;
    controls.report = "stale";
    ASSERT_EQ(operations.ReadKeys(keys), DeviceResult::kDone);
    EXPECT_EQ(controls.report, std::string(224, 'c'));
    ASSERT_EQ(keys.size(), 1u);
}

// No entries: cells 0 and 1 blank, the report written all the same. The
// operation frames and what they show, in order.
TEST_F(DeviceOperationsTest, EmptyWriteAndItsFrames) {
    Memory before = Image();
    PutKey(before, 1, SoundKey(3).KeyHex);
    PutKey(before, 2, SoundKey(4).KeyHex);
    SetImage(before);
    controls.report = "seventeen letters";
    ASSERT_EQ(operations.WriteEntries({}), DeviceResult::kDone);
    EXPECT_EQ(Image(), WrittenImage(before, WriteCellList({}), "seventeen letters"s + '\0'));
    const std::vector<std::string> frames = {"UsePort 1",
                                             "EnableWriteControls off",
                                             "Status Запись в прибор... #ffefef",
                                             "Progress 4",
                                             "UsePort 1",
                                             "EnableWriteControls off",
                                             "Status Проверка чтением... #f0ffec",
                                             "Progress 4",
                                             "EnableWriteControls on"};
    EXPECT_EQ(controls.log, frames) << "2 cells and 17 / 8 report steps";
    EXPECT_EQ(Messages(), (std::vector<std::pair<std::string, int>>{{"Запись в прибор...", kMessageInfo},
                                                                    {"Проверка чтением...", kMessageInfo},
                                                                    {"Запись в прибор успешна!", kMessageSuccess}}));
    EXPECT_EQ(controls.progressPosition, controls.progressMaximum);
    EXPECT_GT(controls.processed, 0);

    ExpectReadsNoKeys("seventeen letters");
}

TEST_F(DeviceOperationsTest, ClearThenRead) {
    Memory before = Image();
    for (int c = 0; c < 100; ++c) PutKey(before, c, SoundKey(c).KeyHex);
    for (int i = 800; i < 1024; ++i) before[static_cast<std::size_t>(i)] = 'q';
    SetImage(before);
    controls.report = "kept";
    ASSERT_EQ(operations.ClearMemory(), DeviceResult::kDone);
    Memory cleared;
    cleared.fill(0xFF);
    for (int i = 800; i < 1024; ++i) cleared[static_cast<std::size_t>(i)] = 0;
    EXPECT_EQ(Image(), cleared);
    EXPECT_EQ(Messages().back(), (std::pair<std::string, int>{"Очищение памяти прибора успешно!", kMessageSuccess}));
    ExpectOneBox("Очищение памяти прибора успешно!", "Сообщение", MessageIcon::Information);
    EXPECT_EQ(controls.log[3], "Progress 100") << "100 cells, 4 / 8 report steps";
    EXPECT_EQ(controls.log[4], "Maximum 128");
    EXPECT_EQ(controls.report, "kept") << "nothing is read back";
    ExpectEnded();

    ExpectReadsNoKeys("");
}

TEST_F(DeviceOperationsTest, BadCheckByteOnReadingIsReportedOnceAndTheKeysStay) {
    Memory image = Image();
    std::string bad = SoundKey(2).KeyHex;
    bad[0] = bad[0] == '0' ? '1' : '0';
    PutKey(image, 1, SoundKey(1).KeyHex);
    PutKey(image, 2, bad);
    PutKey(image, 3, "FF" + bad.substr(2));
    PutKey(image, 4, SoundKey(4).KeyHex);
    SetImage(image);
    std::vector<BaseRecord> keys;
    ASSERT_EQ(operations.ReadKeys(keys), DeviceResult::kKeyCrcFault);
    ASSERT_EQ(keys.size(), 4u);
    EXPECT_EQ(keys[1].KeyHex, bad);
    const std::string text =
        "Возможна ошибка при чтении памяти прибора!\nОшибка CRC в ключе №: 2  [" + SpaceKeyText(bad) + "]";
    ExpectLastError(text);
    ExpectOneBox(text, "Ошибка", MessageIcon::Error);  // for the first faulty key only
    ExpectNoSuccess();
    ExpectEnded("EnableReadControls on");
}

// Faults in the middle of a write. Each ends in its own message, never in
// success, with the port closed and the controls back.
TEST_F(DeviceOperationsTest, FaultsDuringAWrite) {
    const auto entries = SoundKeys(5);
    const auto cells = WriteCellList(entries);

    // The device stops acknowledging at byte 25: cell 2's fifth byte.
    Memory before = Image();
    device->Access([](Orb31Emulator& e) { e.FailAckFromByte(25); });
    EXPECT_EQ(operations.WriteEntries(entries), DeviceResult::kNoAck);
    device->Access([](Orb31Emulator& e) { e.FailAckFromByte(0); });
    ExpectLastError("Нет ответа! (ACK)");
    ExpectNoSuccess();
    EXPECT_TRUE(controls.boxes.empty());
    ExpectEnded();
    EXPECT_EQ(Image(), WrittenImage(before, {cells[0], cells[1]}, "")) << "what was acknowledged, nothing after";

    // Unplugged part-way: everything after seems acknowledged; the
    // verification finds no device.
    Reset();
    device->Access([](Orb31Emulator& e) { e.UnplugAfterClocks(300); });
    EXPECT_EQ(operations.WriteEntries(entries), DeviceResult::kNoDevice);
    ExpectLastError("Подключите прибор!");
    ExpectNoSuccess();
    ExpectEnded();
    device->Access([](Orb31Emulator& e) { e.SetConnected(true); });

    // A bit that reads back inverted.
    Reset();
    device->Access([](Orb31Emulator& e) { e.SetFlippedBit(8 * 3 + 5, 2); });
    EXPECT_EQ(operations.WriteEntries(entries), DeviceResult::kVerifyFailed);
    ExpectLastError("Ошибка при записи в прибор!");
    ExpectOneBox("Ошибка при записи в прибор!", "Ошибка", MessageIcon::Error);
    ExpectNoSuccess();
    ExpectEnded();
    EXPECT_EQ(Image(), WrittenImage(before, cells, "\0"s)) << "the memory itself holds what was written";
}

// Pulled out while clearing or reading: nothing acknowledges and the rest reads
// as zero keys, which would pass the key check; the end of the operation sees
// that the device is gone.
TEST_F(DeviceOperationsTest, UnpluggedWhileClearingOrReading) {
    device->Access([](Orb31Emulator& e) { e.UnplugAfterClocks(200); });
    EXPECT_EQ(operations.ClearMemory(), DeviceResult::kNoDevice);
    ExpectLastError("Подключите прибор!");
    ExpectNoSuccess();
    ExpectEnded();

    Reset();
    device->Access([](Orb31Emulator& e) {
        e.SetConnected(true);
        e.UnplugAfterClocks(500);
    });
    std::vector<BaseRecord> keys = SoundKeys(2);
    const auto previous = keys;
    EXPECT_EQ(operations.ReadKeys(keys), DeviceResult::kNoDevice);
    ExpectLastError("Подключите прибор!");
    ExpectNoSuccess();
    EXPECT_EQ(keys.size(), previous.size());
    EXPECT_EQ(keys[0].KeyHex, previous[0].KeyHex);
    ExpectEnded("EnableReadControls on");
}

// No device on the port, or no port at all: every command says so at once and
// touches nothing, the read too (which would otherwise read 99 zero keys).
TEST_F(DeviceOperationsTest, AbsentDeviceForEachCommand) {
    const struct {
        const char* what;
        std::string port;
        bool connected;
    } places[] = {{"unplugged", "1", false}, {"no such port", "7", true}};
    for (const auto& place : places) {
        device->Access([&](Orb31Emulator& e) { e.SetConnected(place.connected); });
        controls.portText = place.port;
        const Memory before = Image();

        Reset();
        EXPECT_EQ(operations.WriteEntries(SoundKeys(3)), DeviceResult::kNoDevice) << place.what;
        ExpectLastError("Подключите прибор!");
        ExpectEnded();

        Reset();
        EXPECT_EQ(operations.ClearMemory(), DeviceResult::kNoDevice) << place.what;
        ExpectLastError("Подключите прибор!");
        ExpectEnded();

        Reset();
        std::vector<BaseRecord> keys = SoundKeys(1);
        controls.report = "previous";
        EXPECT_EQ(operations.ReadKeys(keys), DeviceResult::kNoDevice) << place.what;
        ExpectLastError("Подключите прибор!");
        ExpectEnded("EnableReadControls on");
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].KeyHex, SoundKey(1).KeyHex);
        EXPECT_EQ(controls.report, "previous");
        EXPECT_EQ(controls.log.front(), "UsePort " + place.port);

        ExpectNoSuccess();
        EXPECT_TRUE(controls.boxes.empty());
        EXPECT_EQ(Image(), before) << place.what;
    }
}

TEST_F(DeviceOperationsTest, PortPollProbesPortsOneAndTwoOnly) {
    auto silent = std::make_shared<EmulatedDevice>();
    silent->Access([](Orb31Emulator& e) { e.SetConnected(false); });
    auto third = std::make_shared<EmulatedDevice>();
    AddEmulatedPort(ports, 2, silent);
    AddEmulatedPort(ports, 3, third);
    const auto polled = operations.PollPorts(ports);
    ASSERT_EQ(polled.size(), 2u);
    EXPECT_EQ(polled[0].PortNumber, 1);
    EXPECT_EQ(polled[0].DeviceName, "device");
    EXPECT_EQ(polled[1].PortNumber, 2);
    EXPECT_EQ(polled[1].DeviceName, "emulator");
    EXPECT_FALSE(port.Open());
    EXPECT_FALSE(third->PortOpen());
    EXPECT_TRUE(reporter.messages.empty());
}

}  // namespace
