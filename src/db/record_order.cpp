#include "record_order.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <string>
#include <tuple>

#include "text_helpers.h"

namespace {

constexpr int kHousePad = 16;

using Rows = std::vector<BaseRecord>;
using Order = std::vector<uint32_t>;

// 8 bytes of text from `offset` as a big-endian number, zero-filled past the end.
uint64_t PackBytes(std::string_view text, std::size_t offset) {
    uint64_t value = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const std::size_t at = offset + i;
        value = (value << 8) | (at < text.size() ? static_cast<unsigned char>(text[at]) : 0u);
    }
    return value;
}

// Stable sort of `order` by one text member in byte order. Sixteen bytes at
// a time are compared as two integers; ranges still equal and longer than
// that go round again from the next sixteen. The tail count (remaining
// length, capped at 17) puts a text before the longer texts it begins.
template <class Text>
void StableSortByText(Order& order, const Rows& rows, Text text) {
    struct Key {
        uint64_t hi, lo;
        uint32_t tail, pos;
    };
    struct Task {
        std::size_t begin, end, offset;
    };
    std::vector<Task> tasks{{0, order.size(), 0}};
    std::vector<Key> keys;
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        keys.clear();
        for (std::size_t i = task.begin; i < task.end; ++i) {
            const std::string_view t = text(rows[order[i]]);
            const std::size_t left = t.size() > task.offset ? t.size() - task.offset : 0;
            keys.push_back({PackBytes(t, task.offset), PackBytes(t, task.offset + 8),
                            static_cast<uint32_t>(left > 16 ? 17 : left), order[i]});
        }
        StableMergeSort(keys, [](const Key& a, const Key& b) {
            return std::tie(a.hi, a.lo, a.tail) < std::tie(b.hi, b.lo, b.tail);
        });
        for (std::size_t i = 0; i < keys.size();) {
            std::size_t j = i + 1;
            while (j < keys.size() && keys[j].hi == keys[i].hi && keys[j].lo == keys[i].lo && keys[j].tail == keys[i].tail)
                ++j;
            if (j - i > 1 && keys[i].tail == 17) tasks.push_back({task.begin + i, task.begin + j, task.offset + 16});
            i = j;
        }
        for (std::size_t i = 0; i < keys.size(); ++i) order[task.begin + i] = keys[i].pos;
    }
}

template <class Number>
void StableSortByNumber(Order& order, const Rows& rows, Number number) {
    struct Key {
        int32_t value;
        uint32_t pos;
    };
    std::vector<Key> keys;
    keys.reserve(order.size());
    for (uint32_t pos : order) keys.push_back({number(rows[pos]), pos});
    StableMergeSort(keys, [](const Key& a, const Key& b) { return a.value < b.value; });
    for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].pos;
}

void StableSortByHouse(Order& order, const Rows& rows) {
    struct Key {
        HouseSortKey house;
        uint32_t pos;
    };
    std::vector<Key> keys;
    keys.reserve(order.size());
    for (uint32_t pos : order) keys.push_back({MakeHouseKey(rows[pos].House), pos});
    StableMergeSort(keys, [](const Key& a, const Key& b) { return HouseKeyBefore(a.house, b.house); });
    for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].pos;
}

// Moves rows[order[k]] to place k, following the cycles of the permutation
// so that no second copy of the rows is needed.
void ApplyOrder(Rows& rows, const Order& order) {
    std::vector<bool> placed(rows.size(), false);
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (placed[start] || order[start] == start) continue;
        BaseRecord held = std::move(rows[start]);
        std::size_t at = start;
        while (order[at] != start) {
            __builtin_prefetch(&rows[order[order[at]]]);
            rows[at] = std::move(rows[order[at]]);
            placed[at] = true;
            at = order[at];
        }
        rows[at] = std::move(held);
        placed[at] = true;
    }
}

// The five passes one after the other, exactly as the order is defined.
Order OrderByPasses(const Rows& rows) {
    Order order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    StableSortByText(order, rows, [](const BaseRecord& r) -> std::string_view { return r.KeyHex; });
    StableSortByNumber(order, rows, [](const BaseRecord& r) { return r.Entrance; });
    StableSortByNumber(order, rows, [](const BaseRecord& r) { return r.Corpus; });
    StableSortByHouse(order, rows);
    StableSortByText(order, rows, [](const BaseRecord& r) -> std::string_view { return r.Street; });
    return order;
}

// Distinct values of one text member: an id per row, the texts by id.
struct Distinct {
    std::vector<uint32_t> idOfRow;
    std::vector<std::string_view> texts;
};

template <class Text>
Distinct CollectDistinct(const Rows& rows, Text text) {
    Distinct d;
    d.idOfRow.resize(rows.size());
    std::unordered_map<std::string_view, uint32_t> ids;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::string_view t = text(rows[i]);
        const auto [at, added] = ids.try_emplace(t, static_cast<uint32_t>(d.texts.size()));
        if (added) d.texts.push_back(t);
        d.idOfRow[i] = at->second;
    }
    return d;
}

// Ids to ranks: equal ranks for equivalent values, increasing in `sorted`.
void RanksToRows(Distinct& d, const std::vector<uint32_t>& rankOfId) {
    for (auto& id : d.idOfRow) id = rankOfId[id];
}

void RankStreets(Distinct& streets) {
    std::vector<uint32_t> byText(streets.texts.size());
    for (std::size_t i = 0; i < byText.size(); ++i) byText[i] = static_cast<uint32_t>(i);
    std::sort(byText.begin(), byText.end(),
              [&](uint32_t a, uint32_t b) { return streets.texts[a] < streets.texts[b]; });
    std::vector<uint32_t> rankOfId(byText.size());
    for (std::size_t k = 0; k < byText.size(); ++k) rankOfId[byText[k]] = static_cast<uint32_t>(k);
    RanksToRows(streets, rankOfId);
}

// The house comparison ranks the houses present only when it is a strict
// weak order on them; checking that costs the square of their number, so
// beyond a few thousand distinct houses the passes are used instead.
constexpr std::size_t kMaxRankedHouses = 4096;

bool RankHouses(Distinct& houses) {
    const std::size_t d = houses.texts.size();
    if (d > kMaxRankedHouses) return false;
    std::vector<HouseSortKey> keys;
    keys.reserve(d);
    for (const auto& text : houses.texts) keys.push_back(MakeHouseKey(text));
    std::vector<uint32_t> sorted(d);
    for (std::size_t i = 0; i < d; ++i) sorted[i] = static_cast<uint32_t>(i);
    const auto before = [&](uint32_t a, uint32_t b) { return HouseKeyBefore(keys[a], keys[b]); };
    StableMergeSort(sorted, before);
    std::vector<uint32_t> rank(d, 0);
    for (std::size_t k = 1; k < d; ++k) rank[k] = rank[k - 1] + (before(sorted[k - 1], sorted[k]) ? 1 : 0);
    for (std::size_t i = 0; i < d; ++i)
        for (std::size_t j = i + 1; j < d; ++j)
            if (before(sorted[j], sorted[i]) || before(sorted[i], sorted[j]) != (rank[i] < rank[j])) return false;
    std::vector<uint32_t> rankOfId(d);
    for (std::size_t k = 0; k < d; ++k) rankOfId[sorted[k]] = rank[k];
    RanksToRows(houses, rankOfId);
    return true;
}

uint64_t SignedKey(int32_t value) { return static_cast<uint32_t>(value) ^ 0x80000000u; }

// When every comparison is a strict weak order on the values present, the
// five stable passes give exactly the order of one sort by street, house,
// corpus, entrance, key and former position; ranks make that one integer
// sort. False when that does not hold (the passes are needed).
bool OrderByRanks(const Rows& rows, Order& order) {
    for (const auto& r : rows)
        if (r.KeyHex.size() > 16) return false;
    Distinct houses = CollectDistinct(rows, [](const BaseRecord& r) -> std::string_view { return r.House; });
    if (!RankHouses(houses)) return false;
    Distinct streets = CollectDistinct(rows, [](const BaseRecord& r) -> std::string_view { return r.Street; });
    RankStreets(streets);

    struct Key {
        uint64_t address, numbers, keyHi, keyLo, tailPos;
    };
    std::vector<Key> keys(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const BaseRecord& r = rows[i];
        keys[i] = {uint64_t{streets.idOfRow[i]} << 32 | houses.idOfRow[i],
                   SignedKey(r.Corpus) << 32 | SignedKey(r.Entrance), PackBytes(r.KeyHex, 0), PackBytes(r.KeyHex, 8),
                   uint64_t{r.KeyHex.size()} << 32 | i};
    }
    const auto less = [](const Key& a, const Key& b) {
        return std::tie(a.address, a.numbers, a.keyHi, a.keyLo, a.tailPos) <
               std::tie(b.address, b.numbers, b.keyHi, b.keyLo, b.tailPos);
    };
    if (!std::is_sorted(keys.begin(), keys.end(), less)) std::sort(keys.begin(), keys.end(), less);
    order.resize(rows.size());
    for (std::size_t i = 0; i < keys.size(); ++i) order[i] = static_cast<uint32_t>(keys[i].tailPos);
    return true;
}

}  // namespace

int32_t LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < text.size() && IsDigitChar(text[i]); ++i)
        if (value < kLimit) value = value * 10 + (text[i] - '0');
    if (value > kLimit) value = kLimit;
    if (negative) return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value >= kLimit ? kLimit - 1 : value);
}

HouseSortKey MakeHouseKey(std::string_view house) { return {LeadingInteger(house), PadLeft(house, kHousePad, '0')}; }

bool HouseKeyBefore(const HouseSortKey& a, const HouseSortKey& b) {
    if (a.number != 0 && b.number != 0 && a.number != b.number) return a.number < b.number;
    return a.padded < b.padded;
}

bool HouseBefore(std::string_view a, std::string_view b) { return HouseKeyBefore(MakeHouseKey(a), MakeHouseKey(b)); }

bool SortProgramOrder(std::vector<BaseRecord>& rows) {
    if (rows.size() < 2) return true;
    Order order;
    const bool ranked = OrderByRanks(rows, order);
    if (!ranked) order = OrderByPasses(rows);
    ApplyOrder(rows, order);
    return ranked;
}
