// The port list over a hand-made /sys/class/tty and /dev.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "SerialPortList.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A sysfs tree of the shape the kernel makes, under a temporary folder.
class FakeSystem {
public:
    FakeSystem() {
        fs::create_directories(Sys());
        fs::create_directories(Dev());
    }

    std::string Sys() const { return dir.File("sys/class/tty"); }
    std::string Dev() const { return dir.File("dev"); }
    std::string DevFile(const std::string& name) const { return Dev() + "/" + name; }

    // A tty whose device sits at devices/<devicePath>, bound to `driver` (if any).
    void AddTty(const std::string& name, const std::string& devicePath, const std::string& driver,
                const char* type = nullptr, bool withDevFile = true) {
        const fs::path tty = fs::path(Sys()) / name;
        fs::create_directories(tty);
        if (!devicePath.empty()) {
            const fs::path device = fs::path(dir.File("devices")) / devicePath;
            fs::create_directories(device);
            fs::create_directory_symlink(device, tty / "device");
            if (!driver.empty()) fs::create_symlink(dir.File("bus/drivers/" + driver), device / "driver");
        }
        if (type) WriteFileBytes((tty / "type").string(), std::string(type) + "\n");
        if (withDevFile) WriteFileBytes(DevFile(name), "");
    }

    void BindParent(const std::string& devicePath, const std::string& driver) {
        fs::create_symlink(dir.File("bus/drivers/" + driver), fs::path(dir.File("devices")) / devicePath / "driver");
    }

    TempDir dir;
};

std::vector<std::string> Names(const std::vector<platform::TtyDevice>& ttys) {
    std::vector<std::string> names;
    for (const auto& tty : ttys) names.push_back(tty.name + ":" + tty.driver);
    return names;
}

TEST(ScanTtyDevices, UsbAdaptersFirstThenUartsThatReportARealPort) {
    FakeSystem sys;
    // A UART behind the serial core's own port and controller devices.
    sys.AddTty("ttyS0", "pnp0/00:00/00:00:0/00:00:0.0", "serial-base/drivers/port", "4");
    sys.BindParent("pnp0/00:00/00:00:0", "serial-base/drivers/ctrl");
    sys.BindParent("pnp0/00:00", "pnp/drivers/serial");
    sys.AddTty("ttyS1", "platform/serial8250/tty/ttyS1", "", "0");  // a slot with no UART
    sys.AddTty("ttyUSB10", "usb1/1-3/ttyUSB10", "usb-serial/drivers/pl2303");
    sys.AddTty("ttyUSB2", "usb1/1-1/ttyUSB2", "usb-serial/drivers/ftdi_sio");
    sys.AddTty("ttyACM0", "usb1/1-2/1-2:1.0", "usb/drivers/cdc_acm");
    sys.AddTty("ttyUSB5", "usb1/1-4/ttyUSB5", "usb-serial/drivers/cp210x", nullptr, false);  // no device file
    sys.AddTty("tty0", "", "");  // a virtual console has no device
    sys.AddTty("ttyAMA0", "amba/uart0", "amba/drivers/uart-pl011", "1");

    EXPECT_EQ(Names(platform::ScanTtyDevices(sys.Sys(), sys.Dev())),
              (std::vector<std::string>{"ttyACM0:cdc_acm", "ttyUSB2:ftdi_sio", "ttyUSB10:pl2303", "ttyAMA0:uart-pl011",
                                        "ttyS0:serial"}));
    EXPECT_TRUE(platform::ScanTtyDevices(sys.dir.File("nowhere"), sys.Dev()).empty());
    EXPECT_TRUE(platform::ScanTtyDevices("", sys.Dev()).empty());
}

TEST(SerialPortList, OneUsbAdapterIsCom1WithNoConfiguration) {
    FakeSystem sys;
    sys.AddTty("ttyS0", "pnp0/00:00", "pnp/drivers/serial", "4");
    sys.AddTty("ttyUSB0", "usb1/1-1/ttyUSB0", "usb-serial/drivers/ftdi_sio");
    platform::SerialPortList list(sys.Sys(), sys.Dev());
    const auto ports = list.Ports();
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(ports[0].number, 1);
    EXPECT_EQ(ports[0].portName, "COM1");
    EXPECT_EQ(ports[0].deviceName, "ttyUSB0");
    EXPECT_EQ(ports[0].path, sys.DevFile("ttyUSB0"));
    EXPECT_EQ(ports[0].driver, "ftdi_sio");
    EXPECT_EQ(ports[1].portName, "COM2");
    EXPECT_EQ(ports[1].deviceName, "ttyS0");
}

TEST(SerialPortList, ConfiguredAndAddedPortsTakeTheirNumbersAndDetectedOnesFillTheGaps) {
    FakeSystem sys;
    sys.AddTty("ttyS0", "pnp0/00:00", "pnp/drivers/serial", "4");
    sys.AddTty("ttyUSB0", "usb1/1-1/ttyUSB0", "usb-serial/drivers/ftdi_sio");
    sys.AddTty("ttyUSB1", "usb1/1-2/ttyUSB1", "usb-serial/drivers/ftdi_sio");
    const std::string config = sys.dir.File("vestorin.cfg");
    WriteFileBytes(config,
                   "[COM]\nCOM_port=1\n[PORTS]\n"
                   "COM3=" +
                       sys.DevFile("ttyUSB1") +
                       "\n"
                       "com2=ttyS0\n"  // a bare name is a device of the device folder
                       "COM4=" +
                       sys.DevFile("gone") +
                       "\n"  // not present: not listed
                       "COM0=" +
                       sys.DevFile("ttyUSB0") +
                       "\n"
                       "COM256=" +
                       sys.DevFile("ttyUSB0") +
                       "\n"
                       "LPT1=" +
                       sys.DevFile("ttyUSB0") +
                       "\n"
                       "COMX=" +
                       sys.DevFile("ttyUSB0") +
                       "\n"
                       "COM6=\n");
    platform::SerialPortList list(sys.Sys(), sys.Dev());
    list.SetConfigPath(config);
    list.AddPort(2, "emulator", "ORB-31 emulator", [](int& error) {
        error = 0;
        return std::unique_ptr<platform::SerialPort>();
    });

    std::vector<std::string> seen;
    for (const auto& port : list.Ports()) seen.push_back(port.portName + "=" + port.deviceName + ":" + port.path);
    EXPECT_EQ(seen, (std::vector<std::string>{"COM1=ttyUSB0:" + sys.DevFile("ttyUSB0"),
                                              "COM2=emulator:", "COM3=ttyUSB1:" + sys.DevFile("ttyUSB1"),
                                              "COM4=ttyS0:" + sys.DevFile("ttyS0")}))
        << "the added port hides COM2 of the file, whose device is then numbered like any other";

    list.RemovePort(2);
    seen.clear();
    for (const auto& port : list.Ports()) seen.push_back(port.portName + "=" + port.deviceName);
    EXPECT_EQ(seen, (std::vector<std::string>{"COM1=ttyUSB0", "COM2=ttyS0", "COM3=ttyUSB1"}));
}

TEST(SerialPortList, OpenByNumber) {
    FakeSystem sys;
    sys.AddTty("ttyUSB0", "usb1/1-1/ttyUSB0", "usb-serial/drivers/ftdi_sio");  // a plain file, no tty
    platform::SerialPortList list(sys.Sys(), sys.Dev());
    int opened = 0;
    list.AddPort(4, "emulator", "", [&](int& error) {
        ++opened;
        error = 42;
        return std::unique_ptr<platform::SerialPort>();
    });
    int error = 0;
    EXPECT_FALSE(list.Open(4, error));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(error, 42);
    EXPECT_FALSE(list.Open(1, error));
    EXPECT_EQ(error, ENOTTY);
    EXPECT_FALSE(list.Open(2, error));
    EXPECT_EQ(error, ENOENT);
}

}  // namespace
