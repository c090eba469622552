#include "cli_common.h"
#include "commands.h"

const std::vector<CliCommand>& CliCommands() {
    static const std::vector<CliCommand> commands = {
        {"key", "TEXT...", RunKeyCommand},
    };
    return commands;
}
