#pragma once
// The manual is extracted next to the configuration for showing; no copy of
// it is left behind after a run.

#include <string>

#include "config.h"

inline constexpr const char* kManualFileName = "info_proga.mht";

std::string ManualFilePath(const CfgClass& config);
// Failures (no file, no permission) are of no interest and ignored.
void RemoveManualFile(const CfgClass& config);
