#pragma once
// A port component on an emulated ORB-31 at COM1, set up as the device
// dialog's CommPort1 is, for fixtures of the device link.

#include <memory>

#include "CommPort.h"
#include "EmulatedSerialPort.h"
#include "SerialPortList.h"

struct EmulatedPortRig {
    EmulatedPortRig() {
        AddEmulatedPort(ports, 1, device);
        LoadCommPort1Properties(port);
    }

    Orb31Emulator::Memory Image() {
        return device->Access([](Orb31Emulator& e) { return e.Contents(); });
    }
    void SetImage(const Orb31Emulator::Memory& memory) {
        device->Access([&](Orb31Emulator& e) { e.Contents() = memory; });
    }

    platform::SerialPortList ports{"", ""};
    std::shared_ptr<EmulatedDevice> device = std::make_shared<EmulatedDevice>();
    TCommPort port{&ports};
};
