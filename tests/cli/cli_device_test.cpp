// vestorin-cli device on the emulated ORB-31: what it prints, what it leaves in
// the device's memory image, and its exit codes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Cp1251.h"
#include "EmulatedSerialPort.h"
#include "FileAttributes.h"
#include "SerialPortList.h"
#include "cli_common.h"
#include "cli_run.h"
#include "db_fixtures.h"
#include "device_fixtures.h"
#include "key_database.h"
#include "key_text.h"
#include "reporter.h"
#include "temp_dir.h"
#include "vcd_reader.h"

namespace {

std::string Sound(const std::string& hex) {
    std::string key = hex;
    SetKeyCrc(key, false);
    return key;
}

// The CP1251 image bytes of keys from cell 1, then a blank cell.
std::string CellBytes(const std::vector<std::string>& keys) {
    std::string bytes;
    for (const auto& key : keys)
        for (std::size_t i = 0; i < 16; i += 2) bytes += static_cast<char>(std::stoi(key.substr(i, 2), nullptr, 16));
    return bytes + std::string(8, '\xFF');
}

class CliDevice : public ::testing::Test {
protected:
    void SetUp() override {
        NullReporter report;
        DatabaseModel model(report);
        model.Rows = {Row("Мира", "2", 0, 0, k1, true), Row("Мира", "10", 1, 2, k2, true),
                      Row("Ленина", "5", 0, 3, k3, true), Row("Ленина", "5", 0, 3, k4, false)};
        ASSERT_TRUE(SaveKeyDatabase(model, keys));
    }
    // Runs with the emulated device and its image on COM1, at the fastest speed.
    CliRun Device(CliArgs args) {
        args.insert(args.begin(), "device");
        args.insert(args.end(), {"--emulate-device=" + image, "--speed", "20"});
        return RunArgs(args);
    }
    std::string Image() const { return ReadFileBytes(image); }

    TempDir dir;
    ScopedCurrentDir cwd{dir.Path()};
    const std::string keys = dir.File("ключи.dbf");
    const std::string image = dir.File("orb.img");
    const std::string k1 = Sound("0011223344556677"), k2 = Sound("0022446688AACCEE"), k3 = Sound("0001020304050607"),
                      k4 = Sound("00F0E0D0C0B0A090");
};

TEST_F(CliDevice, WriteMarkedAddressesThenReadThenClear) {
    CliRun run = Device({"write", "--db", keys, "--mark", "Мира 10/1-2", "Ленина 5-3", "--text", "Дверь №5"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Запись в прибор...\nПроверка чтением...\nЗапись в прибор успешна!\n");
    EXPECT_EQ(run.err, "");
    std::string written = Image();
    ASSERT_EQ(written.size(), 1024u);
    EXPECT_EQ(written.substr(0, 8), std::string(8, '\xFF'));
    EXPECT_EQ(written.substr(8, 24), CellBytes({k3, k2})) << "in the order of the rows";
    EXPECT_EQ(written.substr(800, 9), cp1251::FromUtf8("Дверь №5") + '\0');

    run = Device({"read"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Чтение памяти...\n" + SpaceKeyText(k3) + "\n" + SpaceKeyText(k2) +
                           "\nДополнительная информация:\nДверь №5\n");

    run = Device({"write", "--all", "--db", keys});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Image().substr(8, 32), CellBytes({k3, k1, k2}));
    EXPECT_EQ(Image()[800], '\0') << "no text: an empty report";

    run = Device({"clear"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Запись в прибор...\nОчищение памяти прибора успешно!\n");
    EXPECT_EQ(Image(), std::string(800, '\xFF') + std::string(224, '\0'));

    run = Device({"read"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Чтение памяти...\nДополнительная информация:\n\n");
    EXPECT_FALSE(platform::FileExists(dir.File("vestorin.cfg"))) << "the tool leaves the configuration alone";
}

TEST_F(CliDevice, LongTextIsCutToTheReportArea) {
    const std::string text(230, 'w');
    const CliRun run = Device({"write", "--db", keys, "--mark", "Мира 2", "--text", text});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.err, "vestorin-cli: текст длиннее 224 символов, записаны первые 224\n");
    EXPECT_EQ(Image().substr(800), std::string(224, 'w'));
}

TEST_F(CliDevice, ProbeAndThePortOfTheConfiguration) {
    CliRun run = RunArgs({"device", "probe", "--emulate-device", "--emulate-port", "3", "--port", "3"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "COM3: прибор отвечает\n");
    run = RunArgs({"device", "probe", "--port", "200"});
    EXPECT_EQ(run.status, kExitNoDevice);
    EXPECT_EQ(run.out, "COM200: прибор не отвечает\n");

    WriteFileBytes(dir.File("vestorin.cfg"), "[COM]\nCOM_port=5\n");
    run = RunArgs({"device", "probe", "--emulate-device", "--emulate-port=5"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "COM5: прибор отвечает\n");
}

TEST_F(CliDevice, AbsentDeviceForEachCommand) {
    for (const CliArgs& args : std::vector<CliArgs>{{"device", "read", "--port", "200", "--speed", "20"},
                                                    {"device", "clear", "--port=200", "--speed=20"},
                                                    {"device", "write", "--db", keys, "--all", "--port", "200"}}) {
        const CliRun run = RunArgs(args);
        EXPECT_EQ(run.status, kExitNoDevice) << args[1];
        EXPECT_NE(run.err.find("vestorin-cli: Подключите прибор!\n"), std::string::npos) << run.err;
        EXPECT_EQ(run.out.find("успешн"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("Дополнительная информация"), std::string::npos) << run.out;
    }
}

TEST_F(CliDevice, BadArgumentsAndFiles) {
    const std::vector<CliArgs> bad = {
        {"device"},
        {"device", "erase"},
        {"device", "write", "--all"},
        {"device", "write", "--db", keys},
        {"device", "write", "--db", keys, "--mark"},
        {"device", "write", "--db", keys, "--all", "--mark", "Мира 2"},
        {"device", "write", "--db", keys, "Мира 2"},
        {"device", "read", "--db", keys},
        {"device", "clear", "--all"},
        {"device", "probe", "--text", "x"},
        {"device", "read", "--speed", "0"},
        {"device", "read", "--speed", "21"},
        {"device", "read", "--speed", "fast"},
        {"device", "read", "--speed"},
        {"device", "read", "--port", "0"},
        {"device", "read", "--port", "256"},
        {"device", "read", "--emulate-port", "2"},
    };
    for (const auto& args : bad) EXPECT_EQ(RunArgs(args).status, kExitBadArguments) << args.back();

    CliRun run = Device({"write", "--db", keys, "--mark", "Мира 3"});
    EXPECT_EQ(run.status, kExitBadArguments);
    EXPECT_EQ(run.err, "vestorin-cli: адрес 'Мира 3' не найден в базе\n");
    EXPECT_FALSE(platform::FileExists(image)) << "nothing reached the device";

    run = Device({"write", "--db", dir.File("нет.dbf"), "--all"});
    EXPECT_EQ(run.status, kExitReadFailed);
    WriteFileBytes(dir.File("other.dbf"), ReadFileBytes(keys).replace(32, 6, "STREEX"));
    EXPECT_EQ(Device({"write", "--db", dir.File("other.dbf"), "--all"}).status, kExitNotKeyDatabase);
    WriteFileBytes(dir.File("short.img"), "short");
    EXPECT_EQ(RunArgs({"device", "read", "--emulate-device=" + dir.File("short.img")}).status, kExitReadFailed);
    EXPECT_FALSE(platform::FileExists(image));
}

// A device the test holds on a port of the system's list, with its faults.
class CliDeviceFaults : public CliDevice {
protected:
    void SetUp() override {
        CliDevice::SetUp();
        AddEmulatedPort(platform::SerialPortList::System(), kPort, device);
    }
    void TearDown() override { platform::SerialPortList::System().RemovePort(kPort); }
    CliRun Run(CliArgs args) {
        args.insert(args.begin(), "device");
        args.insert(args.end(), {"--port", std::to_string(kPort), "--speed", "20"});
        return RunArgs(args);
    }

    static constexpr int kPort = 9;
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
};

TEST_F(CliDeviceFaults, NoAcknowledgeFailedVerificationAndAFaultyKeyOnReading) {
    device->Access([](Orb31Emulator& e) { e.FailAckFromByte(14); });
    CliRun run = Run({"write", "--db", keys, "--all"});
    EXPECT_EQ(run.status, kExitNoAck);
    EXPECT_EQ(run.err, "vestorin-cli: Нет ответа! (ACK)\n");

    device->Access([](Orb31Emulator& e) {
        e.FailAckFromByte(0);
        e.SetFlippedBit(8 * 2 + 3, 6);
    });
    run = Run({"write", "--db", keys, "--all"});
    EXPECT_EQ(run.status, kExitVerifyFailed);
    EXPECT_EQ(run.err, "vestorin-cli: Ошибка при записи в прибор!\n");

    std::string bad = k4;
    bad[1] = bad[1] == '0' ? '1' : '0';
    device->Access([&](Orb31Emulator& e) {
        e.ClearFlippedBits();
        PutKey(e.Contents(), 2, bad);
    });
    run = Run({"read"});
    EXPECT_EQ(run.status, kExitKeyCrcFault);
    EXPECT_EQ(run.out, "Чтение памяти...\n" + SpaceKeyText(k3) + "\n" + SpaceKeyText(bad) + "\n" + SpaceKeyText(k2) +
                           "\nДополнительная информация:\n\n");
    EXPECT_EQ(run.err, "vestorin-cli: Возможна ошибка при чтении памяти прибора!\nОшибка CRC в ключе №: 2  [" +
                           SpaceKeyText(bad) + "]\n");
}

TEST_F(CliDeviceFaults, TraceRecordsTheBus) {
    const std::string trace = dir.File("bus.vcd");
    const CliRun run = Run({"write", "--db", keys, "--mark", "Мира 2", "--trace", trace});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto transfers = DecodeBus(ReadVcd(ReadFileBytes(trace)));
    ASSERT_GE(transfers.size(), 3u);
    EXPECT_EQ(transfers[0].bytes, std::vector<int>({0xA0, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_GE(transfers[1].bytes.size(), 3u);
    EXPECT_EQ(transfers[1].bytes[1], 0x08);
    EXPECT_EQ(transfers[1].bytes[2], std::stoi(k1.substr(0, 2), nullptr, 16));
}

}  // namespace
