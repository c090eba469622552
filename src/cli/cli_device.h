#pragma once
// What every device command of vestorin-cli shares: the port list of the
// configuration in the current folder and the options --emulate-device[=IMAGE],
// --emulate-port N and --trace FILE (or --bus-trace=FILE).

#include "DevicePorts.h"
#include "cli_common.h"

#define VESTORIN_DEVICE_OPTIONS "[--emulate-device[=IMAGE]] [--emulate-port N] [--trace FILE.vcd]"
inline constexpr const char* kDeviceOptionsUsage = VESTORIN_DEVICE_OPTIONS;
inline constexpr const char* kDeviceCommandUsage =
    "(probe | read | clear | write --db FILE (--all | --mark ADDRESS...) [--text TEXT]) [--port N] [--speed 1..20] "
    VESTORIN_DEVICE_OPTIONS;
#undef VESTORIN_DEVICE_OPTIONS

// Takes the device options out of args, reads [PORTS], starts the emulator
// and the trace for as long as `session` lives. kExitOk, or the exit code
// after the message has been printed.
int SetUpDevicePorts(CliArgs& args, CliContext& io, DeviceSession& session);
