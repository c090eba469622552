#include <iostream>

#include "cli_common.h"

int main(int argc, char** argv) {
    CliArgs args(argv + 1, argv + argc);
    CliContext io{std::cout, std::cerr};
    return RunCli(args, io);
}
