#pragma once
// Rows grouped by address, for work that would otherwise search the whole
// list once per row. Consecutive rows of one address (the usual case in the
// program's order) are taken as one run, so building costs one pass over
// the rows plus a sort of the runs. Valid while the rows it was built over
// are neither added, removed nor changed in their address.

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "records.h"

class AddressGroups {
public:
    using Hash = uint64_t (*)(const BaseRecord&);

    // Groups the rows for which `include` holds (all rows without it).
    // `hash` is a seam for tests: rows of one address must hash alike.
    explicit AddressGroups(const std::vector<BaseRecord>& rows,
                           const std::function<bool(const BaseRecord&)>& include = {}, Hash hash = AddressHash);

    // Positions in the rows, ascending, of the grouped rows with the address
    // of `row`; `row` itself need not be one of them. Empty when none.
    std::span<const uint32_t> Find(const BaseRecord& row) const;

    // Groups in order of their first row.
    std::size_t GroupCount() const { return starts_.size(); }
    // Positions of one group, ascending.
    std::span<const uint32_t> Group(std::size_t index) const;

private:
    const std::vector<BaseRecord>& rows_;
    Hash hash_;
    std::vector<uint32_t> positions_;  // the members of each group in turn
    std::vector<uint32_t> starts_;     // index into positions_ of each group's first member
    struct Bucket {
        uint64_t hash;
        uint32_t group;
    };
    std::vector<Bucket> byHash_;  // sorted by hash
};
