#include "record_order.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>
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

// Distinct texts of one member in order of first appearance, each with its id.
class DistinctTexts {
public:
    uint32_t Id(std::string_view text) {
        const auto [at, added] = ids_.try_emplace(text, static_cast<uint32_t>(texts_.size()));
        if (added) texts_.push_back(text);
        return at->second;
    }
    const std::vector<std::string_view>& Texts() const { return texts_; }

private:
    std::unordered_map<std::string_view, uint32_t> ids_;
    std::vector<std::string_view> texts_;
};

// Rank of each street id in byte order; `sorted` gets the streets in that order.
std::vector<uint32_t> RankStreets(const std::vector<std::string_view>& texts, std::vector<std::string>* sorted) {
    std::vector<uint32_t> byText(texts.size());
    for (std::size_t i = 0; i < byText.size(); ++i) byText[i] = static_cast<uint32_t>(i);
    std::sort(byText.begin(), byText.end(), [&](uint32_t a, uint32_t b) { return texts[a] < texts[b]; });
    std::vector<uint32_t> rank(byText.size());
    for (std::size_t k = 0; k < byText.size(); ++k) rank[byText[k]] = static_cast<uint32_t>(k);
    if (sorted) {
        sorted->clear();
        for (uint32_t id : byText) sorted->emplace_back(texts[id]);
    }
    return rank;
}

// The house comparison ranks the houses present only when it is a strict
// weak order on them; checking that costs the square of their number, so
// beyond a few thousand distinct houses the passes are used instead.
constexpr std::size_t kMaxRankedHouses = 4096;

bool RankHouses(const std::vector<std::string_view>& texts, std::vector<uint32_t>& rankOfId) {
    const std::size_t d = texts.size();
    std::vector<HouseSortKey> keys;
    keys.reserve(d);
    for (const auto& text : texts) keys.push_back(MakeHouseKey(text));
    std::vector<uint32_t> sorted(d);
    for (std::size_t i = 0; i < d; ++i) sorted[i] = static_cast<uint32_t>(i);
    const auto before = [&](uint32_t a, uint32_t b) { return HouseKeyBefore(keys[a], keys[b]); };
    StableMergeSort(sorted, before);
    std::vector<uint32_t> rank(d, 0);
    for (std::size_t k = 1; k < d; ++k) rank[k] = rank[k - 1] + (before(sorted[k - 1], sorted[k]) ? 1 : 0);
    for (std::size_t i = 0; i < d; ++i)
        for (std::size_t j = i + 1; j < d; ++j)
            if (before(sorted[j], sorted[i]) || before(sorted[i], sorted[j]) != (rank[i] < rank[j])) return false;
    rankOfId.assign(d, 0);
    for (std::size_t k = 0; k < d; ++k) rankOfId[sorted[k]] = rank[k];
    return true;
}

uint64_t SignedKey(int32_t value) { return static_cast<uint32_t>(value) ^ 0x80000000u; }

// When every comparison is a strict weak order on the values present, the
// five stable passes give exactly the order of one sort by street, house,
// corpus, entrance, key and former position; ranks make that one integer
// sort, built in one pass over the rows. False when that does not hold
// (the passes are needed). The streets come out in byte order, which is
// their order of first appearance once the rows are sorted.
bool OrderByRanks(const Rows& rows, Order& order, std::vector<std::string>* streetsInOrder) {
    struct Key {
        uint64_t address, numbers, keyHi, keyLo, tailPos;
    };
    std::vector<Key> keys(rows.size());
    DistinctTexts streets, houses;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const BaseRecord& r = rows[i];
        if (r.KeyHex.size() > 16) return false;
        const uint64_t street = streets.Id(r.Street), house = houses.Id(r.House);
        if (houses.Texts().size() > kMaxRankedHouses) return false;
        keys[i] = {street << 32 | house, SignedKey(r.Corpus) << 32 | SignedKey(r.Entrance), PackBytes(r.KeyHex, 0),
                   PackBytes(r.KeyHex, 8), uint64_t{r.KeyHex.size()} << 32 | i};
    }
    std::vector<uint32_t> houseRank;
    if (!RankHouses(houses.Texts(), houseRank)) return false;
    const std::vector<uint32_t> streetRank = RankStreets(streets.Texts(), streetsInOrder);
    for (auto& k : keys) k.address = uint64_t{streetRank[k.address >> 32]} << 32 | houseRank[k.address & 0xFFFFFFFFu];

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

std::vector<std::string> DistinctStreets(const std::vector<BaseRecord>& rows) {
    std::vector<std::string> streets;
    std::unordered_set<std::string_view> seen;
    for (const auto& row : rows)
        if (seen.insert(row.Street).second) streets.push_back(row.Street);
    return streets;
}

bool SortProgramOrder(std::vector<BaseRecord>& rows, std::vector<std::string>* streets) {
    Order order;
    const bool ranked = rows.size() >= 2 && OrderByRanks(rows, order, streets);
    if (!ranked && rows.size() >= 2) order = OrderByPasses(rows);
    if (rows.size() >= 2) ApplyOrder(rows, order);
    if (!ranked && streets) *streets = DistinctStreets(rows);
    return ranked || rows.size() < 2;
}
