#include "address_groups.h"

#include <algorithm>

AddressGroups::AddressGroups(const std::vector<BaseRecord>& rows,
                             const std::function<bool(const BaseRecord&)>& include)
    : rows_(rows) {
    struct Entry {
        uint64_t hash;
        uint32_t pos;
    };
    std::vector<Entry> entries;
    entries.reserve(include ? 0 : rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (!include || include(rows[i])) entries.push_back({AddressHash(rows[i]), static_cast<uint32_t>(i)});
    // Integers sort fast; the texts are compared only where hashes meet.
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.hash != b.hash ? a.hash < b.hash : a.pos < b.pos; });

    hashes_.reserve(entries.size());
    positions_.reserve(entries.size());
    for (const auto& e : entries) {
        hashes_.push_back(e.hash);
        positions_.push_back(e.pos);
    }
    entries = {};

    const auto byAddress = [&](uint32_t a, uint32_t b) { return AddressLess(rows_[a], rows_[b]); };
    for (std::size_t begin = 0; begin < positions_.size();) {
        std::size_t end = begin + 1;
        bool uniform = true;
        while (end < positions_.size() && hashes_[end] == hashes_[begin]) {
            uniform = uniform && SameAddress(rows_[positions_[end]], rows_[positions_[begin]]);
            ++end;
        }
        // Different addresses under one hash: order them by address, keeping
        // each address's positions ascending.
        if (!uniform) std::stable_sort(positions_.begin() + begin, positions_.begin() + end, byAddress);
        starts_.push_back(static_cast<uint32_t>(begin));
        for (std::size_t i = begin + 1; i < end; ++i)
            if (!SameAddress(rows_[positions_[i]], rows_[positions_[i - 1]])) starts_.push_back(static_cast<uint32_t>(i));
        begin = end;
    }
}

std::span<const uint32_t> AddressGroups::Group(std::size_t index) const {
    const std::size_t begin = starts_[index];
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : positions_.size();
    return std::span<const uint32_t>(positions_).subspan(begin, end - begin);
}

std::span<const uint32_t> AddressGroups::Find(const BaseRecord& row) const {
    const uint64_t hash = AddressHash(row);
    const auto first = std::lower_bound(hashes_.begin(), hashes_.end(), hash);
    if (first == hashes_.end() || *first != hash) return {};
    const auto at = static_cast<uint32_t>(first - hashes_.begin());
    // The groups under one hash are consecutive; usually there is one.
    auto group = std::lower_bound(starts_.begin(), starts_.end(), at);
    for (; group != starts_.end() && hashes_[*group] == hash; ++group) {
        const std::size_t index = static_cast<std::size_t>(group - starts_.begin());
        if (SameAddress(rows_[positions_[*group]], row)) return Group(index);
    }
    return {};
}
