#pragma once
#include "cli_common.h"

// key TEXT...: each text as a complete key with its check byte, spaced.
int RunKeyCommand(const CliArgs& args, CliContext& io);

// ports [emulator options]: the serial ports as the program sees them.
int RunPortsCommand(const CliArgs& args, CliContext& io);
