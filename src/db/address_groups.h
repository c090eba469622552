#pragma once
// Rows grouped by address in O(n log n), for work that would otherwise search
// the whole list once per row. Valid while the rows it was built over are
// neither added, removed nor changed in their address.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "records.h"

class AddressGroups {
public:
    // Groups the rows for which `include` holds (all rows without it).
    explicit AddressGroups(const std::vector<BaseRecord>& rows,
                           const std::function<bool(const BaseRecord&)>& include = {});

    // Positions in the rows, ascending, of the grouped rows with the address
    // of `row`; `row` itself need not be one of them. Empty when none.
    std::span<const uint32_t> Find(const BaseRecord& row) const;

    std::size_t GroupCount() const { return starts_.size(); }
    // Positions of one group, ascending.
    std::span<const uint32_t> Group(std::size_t index) const;

private:
    const std::vector<BaseRecord>& rows_;
    std::vector<uint64_t> hashes_;     // sorted; parallel to positions_
    std::vector<uint32_t> positions_;  // by hash, then address, then position
    std::vector<uint32_t> starts_;     // index into positions_ of each group's first member
};
