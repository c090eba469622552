#include "marked_entries.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "Cp1251.h"
#include "reporter.h"

using namespace cp1251_literals;

namespace {

// The default-key rows of the marked addresses, found in one pass over the
// rows. Marked addresses are few; a row's default flag and a hash of the
// members a row holds in itself (street length, house, corpus, entrance)
// rule out almost every other row before its street text is looked at.
class MarkedDefaults {
public:
    // One pass over the rows, which for a large table is what costs: the
    // marked rows, and a signature of every default row to sift afterwards.
    explicit MarkedDefaults(const std::vector<BaseRecord>& rows) : rows_(rows), filter_(kFilterWords, 0) {
        struct Candidate {
            uint32_t pos;
            uint32_t bit;
        };
        std::vector<Candidate> candidates;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const BaseRecord& row = rows[i];
            if (row.Marked) marked_.push_back({static_cast<uint32_t>(i), static_cast<uint32_t>(AddressOf(row, true))});
            if (row.KeyDef) candidates.push_back({static_cast<uint32_t>(i), FilterBit(row)});
        }
        for (const Candidate& c : candidates) {
            if (!((filter_[c.bit / 64] >> (c.bit % 64)) & 1)) continue;
            const int address = AddressOf(rows[c.pos], false);
            if (address >= 0) defaults_[static_cast<std::size_t>(address)].push_back(c.pos);
        }
    }

    struct Marked {
        uint32_t pos;
        uint32_t address;  // index into defaults_
    };
    // Every marked row, ascending.
    const std::vector<Marked>& MarkedRows() const { return marked_; }
    // Ascending positions of the default rows with the address of `marked`.
    std::span<const uint32_t> DefaultsOf(const Marked& marked) const { return defaults_[marked.address]; }

private:
    static constexpr std::size_t kFilterWords = 1024;  // 65536 bits

    static uint64_t Signature(const BaseRecord& row) {
        uint64_t h = std::hash<std::string_view>()(row.House);
        h ^= (row.Street.size() + 0x9E3779B97F4A7C15ull) + (h << 6) + (h >> 2);
        h ^= (static_cast<uint64_t>(static_cast<uint32_t>(row.Corpus)) << 32 | static_cast<uint32_t>(row.Entrance)) +
             (h << 6) + (h >> 2);
        return h;
    }

    static uint32_t FilterBit(const BaseRecord& row) {
        return static_cast<uint32_t>(Signature(row) % (kFilterWords * 64));
    }

    // Index of the row's address among the marked ones; with `add`, a new
    // address is taken in; without it, -1 for an address not marked.
    int AddressOf(const BaseRecord& row, bool add) {
        const uint64_t hash = AddressHash(row);
        const auto [first, last] = byHash_.equal_range(hash);
        for (auto it = first; it != last; ++it)
            if (SameAddress(rows_[firstRow_[it->second]], row)) return static_cast<int>(it->second);
        if (!add) return -1;
        const auto index = static_cast<uint32_t>(firstRow_.size());
        firstRow_.push_back(static_cast<uint32_t>(&row - rows_.data()));
        defaults_.emplace_back();
        byHash_.emplace(hash, index);
        const uint32_t bit = FilterBit(row);
        filter_[bit / 64] |= uint64_t{1} << (bit % 64);
        return static_cast<int>(index);
    }

    const std::vector<BaseRecord>& rows_;
    std::vector<uint64_t> filter_;                    // Signature bits of the marked addresses
    std::vector<Marked> marked_;
    std::vector<uint32_t> firstRow_;                  // of each marked address
    std::vector<std::vector<uint32_t>> defaults_;     // of each marked address
    std::unordered_multimap<uint64_t, uint32_t> byHash_;  // AddressHash to marked address
};

}  // namespace

void CollectMarkedEntries(const DatabaseModel& model, std::vector<BaseRecord>& entries, int limit) {
    entries.clear();
    Reporter& report = model.reporter();
    report.SetBusy(true);
    const auto& rows = model.Rows;
    const MarkedDefaults defaults(rows);
    const auto full = [&] { return entries.size() >= static_cast<std::size_t>(limit > 0 ? limit : 0); };
    const auto capacityMessage = [&] {
        report.ShowSystemMessage("Размер отмеченных адресов только "_cp + std::to_string(limit) + " ячеек!"_cp, "",
                                 kMessageInfo);
    };
    // The limit met while rows remain (marked or not) is said once.
    std::size_t rest = 0;  // the first row not yet looked at
    bool stopped = false;
    for (const auto& marked : defaults.MarkedRows()) {
        if (full()) break;
        rest = marked.pos + 1;
        for (uint32_t pos : defaults.DefaultsOf(marked)) {
            if (full()) {
                // More default keys of this address than room: never past the limit.
                stopped = true;
                break;
            }
            entries.push_back(rows[pos]);
        }
        if (stopped) break;
    }
    if (stopped || (full() && rest < rows.size())) capacityMessage();
    report.SetBusy(false);
}
