#include "address_groups.h"

#include <algorithm>
#include <tuple>

namespace {

struct Run {
    uint32_t begin, end;  // positions of the run's rows, in ascending order: included[begin, end)
    uint64_t hash;
};

}  // namespace

AddressGroups::AddressGroups(const std::vector<BaseRecord>& rows,
                             const std::function<bool(const BaseRecord&)>& include, Hash hash)
    : rows_(rows), hash_(hash) {
    // The grouped positions in order, cut into runs of one address.
    std::vector<uint32_t> included;
    included.reserve(include ? 0 : rows.size());
    std::vector<Run> runs;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (include && !include(rows[i])) continue;
        const auto at = static_cast<uint32_t>(included.size());
        if (runs.empty() || !SameAddress(rows[included.back()], rows[i]))
            runs.push_back({at, at + 1, hash_(rows[i])});
        else
            runs.back().end = at + 1;
        included.push_back(static_cast<uint32_t>(i));
    }

    // Runs of the same address meet under one hash; the first run heads the group.
    struct Keyed {
        uint64_t hash;
        uint32_t run;
    };
    std::vector<Keyed> keyed(runs.size());
    for (std::size_t r = 0; r < runs.size(); ++r) keyed[r] = {runs[r].hash, static_cast<uint32_t>(r)};
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed& a, const Keyed& b) { return std::tie(a.hash, a.run) < std::tie(b.hash, b.run); });
    std::vector<uint32_t> byHash(runs.size());
    for (std::size_t k = 0; k < keyed.size(); ++k) byHash[k] = keyed[k].run;
    keyed = {};
    std::vector<uint32_t> head(runs.size());
    const auto address = [&](uint32_t run) -> const BaseRecord& { return rows[included[runs[run].begin]]; };
    for (std::size_t k = 0; k < byHash.size();) {
        std::size_t end = k + 1;
        bool uniform = true;
        while (end < byHash.size() && runs[byHash[end]].hash == runs[byHash[k]].hash) {
            uniform = uniform && SameAddress(address(byHash[end]), address(byHash[k]));
            ++end;
        }
        // Different addresses under one hash: order them by address (runs
        // of one address stay in order) so that no pair is compared twice.
        if (!uniform)
            std::stable_sort(byHash.begin() + static_cast<std::ptrdiff_t>(k),
                             byHash.begin() + static_cast<std::ptrdiff_t>(end),
                             [&](uint32_t x, uint32_t y) { return AddressLess(address(x), address(y)); });
        for (std::size_t i = k; i < end; ++i)
            head[byHash[i]] = i > k && (uniform || SameAddress(address(byHash[i]), address(byHash[i - 1])))
                                  ? head[byHash[i - 1]]
                                  : byHash[i];
        k = end;
    }

    // Lay out the groups in order of their first run, members ascending.
    std::vector<uint32_t> groupOfHead(runs.size());
    std::vector<uint32_t> sizes;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (head[r] == r) {
            groupOfHead[r] = static_cast<uint32_t>(sizes.size());
            sizes.push_back(0);
        }
        sizes[groupOfHead[head[r]]] += runs[r].end - runs[r].begin;
    }
    starts_.resize(sizes.size());
    uint32_t offset = 0;
    for (std::size_t g = 0; g < sizes.size(); ++g) {
        starts_[g] = offset;
        offset += sizes[g];
    }
    std::vector<uint32_t> fill(starts_);
    positions_.resize(included.size());
    for (std::size_t r = 0; r < runs.size(); ++r) {
        uint32_t& at = fill[groupOfHead[head[r]]];
        for (uint32_t i = runs[r].begin; i < runs[r].end; ++i) positions_[at++] = included[i];
    }
    for (uint32_t r : byHash)  // already in order of hash
        if (head[r] == r) byHash_.push_back({runs[r].hash, groupOfHead[r]});
}

std::span<const uint32_t> AddressGroups::Group(std::size_t index) const {
    const std::size_t begin = starts_[index];
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : positions_.size();
    return std::span<const uint32_t>(positions_).subspan(begin, end - begin);
}

std::span<const uint32_t> AddressGroups::Find(const BaseRecord& row) const {
    const uint64_t hash = hash_(row);
    auto it = std::lower_bound(byHash_.begin(), byHash_.end(), hash,
                               [](const Bucket& b, uint64_t h) { return b.hash < h; });
    for (; it != byHash_.end() && it->hash == hash; ++it) {
        const auto members = Group(it->group);
        if (SameAddress(rows_[members.front()], row)) return members;
    }
    return {};
}
