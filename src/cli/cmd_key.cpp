#include "commands.h"
#include "Cp1251.h"
#include "key_text.h"

using namespace cp1251_literals;

int RunKeyCommand(const CliArgs& args, CliContext& io) {
    if (args.empty()) {
        io.err << "usage: vestorin-cli key TEXT...\n";
        return kExitBadArguments;
    }
    int status = kExitOk;
    for (const auto& arg : args) {
        std::string key = ArgToCp1251(arg);
        if (!NormalizeKeyText(key)) {
            io.err << "vestorin-cli: ";
            PrintLine(io.err, "ключ '"_cp + ArgToCp1251(arg) + "' неполный: нужно 16 шестнадцатеричных цифр"_cp);
            status = kExitBadArguments;
            continue;
        }
        SetKeyCrc(key, false);
        PrintLine(io.out, SpaceKeyText(key));
    }
    return status;
}
