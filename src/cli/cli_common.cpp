#include "cli_common.h"

#include "Cp1251.h"

void PrintLine(std::ostream& stream, std::string_view cp1251Text) { stream << cp1251::ToUtf8(cp1251Text) << '\n'; }

std::string ArgToCp1251(std::string_view utf8) { return cp1251::FromUtf8(utf8); }

namespace {

void PrintUsage(std::ostream& stream) {
    stream << "usage: vestorin-cli COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const auto& command : CliCommands()) stream << "  " << command.name << ' ' << command.usage << '\n';
}

}  // namespace

int RunCli(const CliArgs& args, CliContext& io) {
    if (args.empty()) {
        PrintUsage(io.err);
        return kExitBadArguments;
    }
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        PrintUsage(io.out);
        return kExitOk;
    }
    for (const auto& command : CliCommands())
        if (command.name == args[0]) return command.run(CliArgs(args.begin() + 1, args.end()), io);
    io.err << "vestorin-cli: unknown command '" << args[0] << "'\n";
    PrintUsage(io.err);
    return kExitBadArguments;
}
