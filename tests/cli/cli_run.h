#pragma once
// Runs vestorin-cli in-process and keeps what it printed.

#include <sstream>
#include <string>

#include "cli_common.h"

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun RunArgs(const CliArgs& args) {
    std::ostringstream out, err;
    CliContext io{out, err};
    const int status = RunCli(args, io);
    return {status, out.str(), err.str()};
}
