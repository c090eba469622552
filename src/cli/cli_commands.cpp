#include "cli_common.h"
#include "cli_device.h"
#include "commands.h"

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"key", "TEXT...", RunKeyCommand},
        {"ports", kDeviceOptionsUsage, RunPortsCommand},
        {"info", "FILE", RunInfoCommand},
        {"list", "FILE", RunListCommand},
        {"normalize", "IN OUT", RunNormalizeCommand},
        {"export-nbx4", "IN OUT (--all | --mark ADDRESS...)", RunExportNbx4Command},
        {"device", kDeviceCommandUsage, RunDeviceCommand},
    };
    return commands;
}
