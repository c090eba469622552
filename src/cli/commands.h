#pragma once
#include "cli_common.h"

// key TEXT...: each text as a complete key with its check byte, spaced.
int RunKeyCommand(const CliArgs& args, CliContext& io);

// ports [emulator options]: the serial ports as the program sees them.
int RunPortsCommand(const CliArgs& args, CliContext& io);
// info FILE: the table's header and fields, and whether it is a key database.
int RunInfoCommand(const CliArgs& args, CliContext& io);
// list FILE: every row, opened as the program opens it, as address text.
int RunListCommand(const CliArgs& args, CliContext& io);
// normalize IN OUT: opened as the program opens it, then saved.
int RunNormalizeCommand(const CliArgs& args, CliContext& io);
// export-nbx4 IN OUT (--all | --mark ADDRESS...): the notebook export.
int RunExportNbx4Command(const CliArgs& args, CliContext& io);
// device COMMAND [options]: probe, read, clear or write the ORB-31.
int RunDeviceCommand(const CliArgs& args, CliContext& io);
