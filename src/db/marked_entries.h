#pragma once
// The default-key rows of the marked addresses, for the device (at most 99)
// and the notebook export (at most 1000).

#include <vector>

#include "records.h"

// In the order of Rows, for each marked row: copies of every row of its
// address whose KeyDef is set. When `limit` entries are held and rows are
// left to examine, the capacity message goes to the status line and the
// walk ends; the list never holds more than `limit`.
void CollectMarkedEntries(const DatabaseModel& model, std::vector<BaseRecord>& entries, int limit);
