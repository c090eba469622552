#include "cli_common.h"
#include "cli_device.h"
#include "commands.h"

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"key", "TEXT...", RunKeyCommand},
        {"ports", kDeviceOptionsUsage, RunPortsCommand},
    };
    return commands;
}
