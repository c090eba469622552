#pragma once
// What the commands that work on a key database share: opening it as the
// database window does, and marking addresses given on the command line.

#include <string>
#include <vector>

#include "cli_common.h"
#include "records.h"

// Opens as the database window does; the failure is already reported.
// kExitOk, kExitNotKeyDatabase or kExitReadFailed.
int OpenForCommand(DatabaseModel& model, const std::string& path);

// Marks the address line (the first row) of each address, written as the
// program shows it (AddressCaption, not shortened, CP1251), or of every
// address with `all`. False, with a message, when one names no address of
// the database; the others are marked all the same.
bool MarkAddresses(DatabaseModel& model, bool all, const std::vector<std::string>& addresses, CliContext& io);
