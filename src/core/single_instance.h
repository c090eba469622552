#pragma once
#include <string>

// True when no other running copy holds the lock of this name; the first
// caller keeps it for the life of the process.
bool CheckSingleInstance(const std::string& name);
