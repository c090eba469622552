#pragma once
// What every device command of vestorin-cli shares: the port list of the
// configuration in the current folder and the options --emulate-device[=IMAGE],
// --emulate-port N and --bus-trace=FILE.

#include "DevicePorts.h"
#include "cli_common.h"

inline constexpr const char* kDeviceOptionsUsage = "[--emulate-device[=IMAGE]] [--emulate-port N] [--bus-trace=FILE]";

// Takes the device options out of args, reads [PORTS], starts the emulator
// and the trace for as long as `session` lives. kExitOk, or the exit code
// after the message has been printed.
int SetUpDevicePorts(CliArgs& args, CliContext& io, DeviceSession& session);
