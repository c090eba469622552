#include "cli_device.h"

#include "SerialPortList.h"
#include "config.h"

namespace {

int Fail(CliContext& io, const std::string& message, int status) {
    io.err << "vestorin-cli: ";
    PrintLine(io.err, message);
    return status;
}

}  // namespace

int SetUpDevicePorts(CliArgs& args, CliContext& io, DeviceSession& session) {
    auto& list = platform::SerialPortList::System();
    list.SetConfigPath(CfgClass().ConfigPath());
    DeviceOptions options;
    std::string error;
    if (!TakeDeviceOptions(args, options, error)) return Fail(io, error, kExitBadArguments);
    if (!session.StartEmulator(options, list, error)) return Fail(io, error, kExitReadFailed);
    if (!session.StartTrace(options, error)) return Fail(io, error, kExitWriteFailed);
    return kExitOk;
}
