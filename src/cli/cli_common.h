#pragma once
// What every command of vestorin-cli shares: its exit codes and its output.
// The program's texts are CP1251; the terminal gets UTF-8.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

enum CliExit : int {
    kExitOk = 0,
    kExitBadArguments = 1,
    kExitReadFailed = 2,
    kExitNotKeyDatabase = 3,
    kExitNoDevice = 4,
    kExitNoAck = 5,
    kExitVerifyFailed = 6,
    kExitWriteFailed = 7,
    kExitKeyCrcFault = 8,
};

struct CliContext {
    std::ostream& out;
    std::ostream& err;
};

// Writes a CP1251 text and a line end as UTF-8.
void PrintLine(std::ostream& stream, std::string_view cp1251Text);

// Arguments arrive as UTF-8; texts for the model are CP1251. File paths stay
// as they came, since the file system takes them as given.
std::string ArgToCp1251(std::string_view utf8);

using CliArgs = std::vector<std::string>;

struct CliCommand {
    std::string_view name;
    std::string_view usage;  // the arguments after the command name
    int (*run)(const CliArgs& args, CliContext& io);
};

const std::vector<CliCommand>& CliCommands();

// args[0] is the command name. Prints the usage for an unknown command.
int RunCli(const CliArgs& args, CliContext& io);
