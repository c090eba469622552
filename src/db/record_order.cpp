#include "record_order.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <unordered_set>
#include <tuple>
#include <utility>

#include "large_arrays.h"
#include "text_helpers.h"

namespace {

constexpr int kHousePad = 16;

// The two parts of a house the comparison looks at, worked out once.
struct HouseSortKey {
    int32_t number;      // LeadingInteger
    std::string padded;  // padded on the left with "0" to 16 characters
};

HouseSortKey MakeHouseKey(std::string_view house) { return {LeadingInteger(house), PadLeft(house, kHousePad, '0')}; }

bool HouseKeyBefore(const HouseSortKey& a, const HouseSortKey& b) {
    if (a.number != 0 && b.number != 0 && a.number != b.number) return a.number < b.number;
    return a.padded < b.padded;
}

using Rows = std::vector<BaseRecord>;
using Order = std::vector<uint32_t>;

// 8 bytes of text from `offset` as a big-endian number, zero-filled past the end.
uint64_t PackBytes(std::string_view text, std::size_t offset) {
    uint64_t value = 0;
    if (offset + 8 <= text.size()) {
        std::memcpy(&value, text.data() + offset, 8);
        return std::endian::native == std::endian::little ? __builtin_bswap64(value) : value;
    }
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

// Moves rows[order[k]] to place k in place. The cycles of the permutation
// are listed first, so that the rows to move can be fetched well ahead: a
// row is wider than two cache lines and lies anywhere in a large table.
void ApplyOrder(Rows& rows, const Order& order) {
    constexpr uint32_t kCycleEnd = UINT32_MAX;
    const std::size_t n = rows.size();
    std::vector<uint32_t> cycles;
    ReserveLarge(cycles, n + n / 2 + 1);
    std::vector<bool> listed(n, false);
    for (std::size_t start = 0; start < n; ++start) {
        if (listed[start] || order[start] == start) continue;
        std::size_t at = start;
        do {
            cycles.push_back(static_cast<uint32_t>(at));
            listed[at] = true;
            at = order[at];
        } while (at != start);
        cycles.push_back(kCycleEnd);
    }
    constexpr std::size_t kAhead = 12;
    BaseRecord held;
    bool holding = false;
    for (std::size_t i = 0; i < cycles.size(); ++i) {
        if (i + kAhead < cycles.size() && cycles[i + kAhead] != kCycleEnd) {
            const char* ahead = reinterpret_cast<const char*>(&rows[cycles[i + kAhead]]);
            for (std::size_t line = 0; line < sizeof(BaseRecord); line += 64) __builtin_prefetch(ahead + line, 1);
        }
        const uint32_t at = cycles[i];
        if (at == kCycleEnd) {
            holding = false;
            continue;
        }
        if (!holding) {
            held = std::move(rows[at]);
            holding = true;
        }
        const uint32_t from = cycles[i + 1];
        rows[at] = from == kCycleEnd ? std::move(held) : std::move(rows[from]);
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

// Distinct texts of one member in order of first appearance, each with its
// id. Neighbouring rows often share a street and a house, so the text looked
// up last is tried first; then an open-addressing table of ids by hash.
class DistinctTexts {
public:
    uint32_t Id(std::string_view text) {
        if (!texts_.empty() && text == texts_[last_]) return last_;
        const uint64_t hash = std::hash<std::string_view>()(text);
        std::size_t slot = hash & (slots_.size() - 1);
        for (; slots_[slot].id != kFree; slot = (slot + 1) & (slots_.size() - 1))
            if (slots_[slot].hash == hash && texts_[slots_[slot].id] == text) return last_ = slots_[slot].id;
        last_ = static_cast<uint32_t>(texts_.size());
        texts_.push_back(text);
        slots_[slot] = {hash, last_};
        if (2 * texts_.size() > slots_.size()) Grow();
        return last_;
    }
    const std::vector<std::string_view>& Texts() const { return texts_; }

private:
    static constexpr uint32_t kFree = UINT32_MAX;
    struct Slot {
        uint64_t hash;
        uint32_t id;
    };

    void Grow() {
        std::vector<Slot> old(2 * slots_.size(), Slot{0, kFree});
        old.swap(slots_);
        for (const Slot& s : old) {
            if (s.id == kFree) continue;
            std::size_t slot = s.hash & (slots_.size() - 1);
            while (slots_[slot].id != kFree) slot = (slot + 1) & (slots_.size() - 1);
            slots_[slot] = s;
        }
    }

    std::vector<Slot> slots_ = std::vector<Slot>(64, Slot{0, kFree});  // a power of two, at most half full
    std::vector<std::string_view> texts_;
    uint32_t last_ = 0;
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

// `distinct`: no two of the texts share a rank (a house "5" and a house "05"
// would), so that the rank tells the texts apart.
bool RankHouses(const std::vector<std::string_view>& texts, std::vector<uint32_t>& rankOfId, bool& distinct) {
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
    distinct = d == 0 || rank[d - 1] == d - 1;
    return true;
}

// One row as numbers: its address ranks packed into one integer, then its
// key text as two big-endian halves and its length, then its position.
struct SortKey {
    uint64_t address;
    uint64_t keyHi, keyLo;
    uint32_t pos;
    uint32_t keyLength;
};

bool KeyBefore(const SortKey& a, const SortKey& b) {
    return std::tie(a.address, a.keyHi, a.keyLo, a.keyLength, a.pos) <
           std::tie(b.address, b.keyHi, b.keyLo, b.keyLength, b.pos);
}

int BitsFor(uint64_t maximum) { return maximum == 0 ? 0 : 64 - __builtin_clzll(maximum); }

// Sorts keys whose addresses have `bits` significant bits: in place, a range
// at a time by its next eight address bits, each key swapped straight into
// its bucket; small ranges, and keys whose addresses are alike, go to a
// comparison sort. Needs no second array, which for a million rows would be
// fresh memory of its own.
void SortKeys(std::vector<SortKey>& keys, int bits) {
    constexpr std::size_t kFew = 32;
    struct Task {
        std::size_t begin, end;
        int bits;  // the address bits not yet sorted by
    };
    std::vector<Task> tasks{{0, keys.size(), bits}};
    std::vector<uint32_t> count, next;
    while (!tasks.empty()) {
        const Task task = tasks.back();
        tasks.pop_back();
        SortKey* const range = keys.data() + task.begin;
        const std::size_t n = task.end - task.begin;
        if (n <= kFew || task.bits <= 0) {
            std::sort(range, range + n, KeyBefore);
            continue;
        }
        const int width = std::min(task.bits, 8);
        const int shift = task.bits - width;
        const uint64_t mask = (uint64_t{1} << width) - 1;
        const auto digit = [&](const SortKey& k) { return static_cast<std::size_t>((k.address >> shift) & mask); };
        count.assign(mask + 1, 0);
        for (std::size_t i = 0; i < n; ++i) ++count[digit(range[i])];
        next.assign(mask + 1, 0);
        for (std::size_t b = 1; b <= mask; ++b) next[b] = next[b - 1] + count[b - 1];
        std::vector<uint32_t>& stop = count;  // each bucket's end, once the starts are known
        for (std::size_t b = 0; b <= mask; ++b) stop[b] += next[b];
        for (std::size_t b = 0; b <= mask; ++b) {
            while (next[b] < stop[b]) {
                SortKey held = range[next[b]];
                for (std::size_t d = digit(held); d != b; d = digit(held)) std::swap(held, range[next[d]++]);
                range[next[b]++] = held;
            }
        }
        for (std::size_t b = 0, begin = 0; b <= mask; begin = stop[b++])
            if (stop[b] - begin > 1) tasks.push_back({task.begin + begin, task.begin + stop[b], shift});
    }
}

// Sorts `items`, each an address above `posBits` bits of position, by their
// addresses only, `bits` wide: least significant byte first, each pass a
// stable scatter into `scratch`. Items start in position order, so equal
// addresses stay in it. Bytes every item shares are skipped.
void SortPackedAddresses(std::vector<uint64_t>& items, std::vector<uint64_t>& scratch, int posBits, int bits) {
    const std::size_t n = items.size();
    const int passes = (bits + 7) / 8;
    std::vector<std::array<uint32_t, 256>> counts(static_cast<std::size_t>(passes));
    for (auto& count : counts) count.fill(0);
    for (uint64_t item : items)
        for (int p = 0; p < passes; ++p) ++counts[static_cast<std::size_t>(p)][(item >> (posBits + 8 * p)) & 0xFF];
    for (int p = 0; p < passes; ++p) {
        auto& count = counts[static_cast<std::size_t>(p)];
        const int shift = posBits + 8 * p;
        if (count[(items[0] >> shift) & 0xFF] == n) continue;
        uint32_t start = 0;
        for (auto& c : count) start += std::exchange(c, start);
        for (uint64_t item : items) scratch[count[(item >> shift) & 0xFF]++] = item;
        items.swap(scratch);
    }
}

// The order of rows whose addresses are sorted packed as above: each
// stretch of one address then goes by key text and position.
void OrderPackedRuns(const std::vector<uint64_t>& items, const std::vector<SortKey>& keys, int posBits, Order& order) {
    const std::size_t n = items.size();
    const uint64_t posMask = (uint64_t{1} << posBits) - 1;
    constexpr std::size_t kAhead = 16;
    order.resize(n);
    std::vector<SortKey> run;
    for (std::size_t k = 0; k < n;) {
        std::size_t j = k + 1;
        while (j < n && (items[j] >> posBits) == (items[k] >> posBits)) ++j;
        if (j - k == 1) {
            order[k] = static_cast<uint32_t>(items[k] & posMask);
        } else {
            run.clear();
            for (std::size_t i = k; i < j; ++i) {
                if (i + kAhead < n) __builtin_prefetch(&keys[items[i + kAhead] & posMask]);
                run.push_back(keys[items[i] & posMask]);
            }
            std::sort(run.begin(), run.end(), KeyBefore);
            for (std::size_t i = k; i < j; ++i) order[i] = run[i - k].pos;
        }
        if (j + kAhead < n) __builtin_prefetch(&keys[items[j + kAhead] & posMask]);
        k = j;
    }
}

// When every comparison is a strict weak order on the values present, the
// five stable passes give exactly the order of one sort by street, house,
// corpus, entrance, key and former position; ranks make that an integer
// sort, built in two passes over the rows. False when that does not hold
// (the passes are needed). The streets come out in byte order, which is
// their order of first appearance once the rows are sorted.
bool OrderByRanks(const Rows& rows, Order& order, std::vector<std::string>* streetsInOrder, AddressRuns* runs) {
    const std::size_t n = rows.size();
    std::vector<SortKey> keys;
    ReserveLarge(keys, n);
    DistinctTexts streets, houses;
    int32_t minCorpus = INT32_MAX, maxCorpus = INT32_MIN, minEntrance = INT32_MAX, maxEntrance = INT32_MIN;
    for (std::size_t i = 0; i < n; ++i) {
        const BaseRecord& r = rows[i];
        if (r.KeyHex.size() > 16) return false;
        const uint64_t ids = uint64_t{streets.Id(r.Street)} << 32 | houses.Id(r.House);
        if (houses.Texts().size() > kMaxRankedHouses) return false;
        minCorpus = std::min(minCorpus, r.Corpus);
        maxCorpus = std::max(maxCorpus, r.Corpus);
        minEntrance = std::min(minEntrance, r.Entrance);
        maxEntrance = std::max(maxEntrance, r.Entrance);
        keys.push_back({ids, PackBytes(r.KeyHex, 0), PackBytes(r.KeyHex, 8), static_cast<uint32_t>(i),
                        static_cast<uint32_t>(r.KeyHex.size())});
    }
    std::vector<uint32_t> houseRank;
    bool housesDistinct = false;
    if (!RankHouses(houses.Texts(), houseRank, housesDistinct)) return false;
    const auto span = [](int32_t lo, int32_t hi) { return static_cast<uint64_t>(int64_t{hi} - lo); };
    const int entranceBits = BitsFor(span(minEntrance, maxEntrance));
    const int corpusBits = BitsFor(span(minCorpus, maxCorpus));
    const int houseBits = BitsFor(*std::max_element(houseRank.begin(), houseRank.end()));
    const int bits = entranceBits + corpusBits + houseBits + BitsFor(streets.Texts().size() - 1);
    if (bits > 64) return false;
    const std::vector<uint32_t> streetRank = RankStreets(streets.Texts(), streetsInOrder);
    const auto append = [](uint64_t high, int width, uint64_t low) { return width ? high << width | low : high; };
    for (std::size_t i = 0; i < n; ++i) {
        SortKey& k = keys[i];
        uint64_t address = streetRank[k.address >> 32];
        address = append(address, houseBits, houseRank[k.address & 0xFFFFFFFFu]);
        address = append(address, corpusBits, span(minCorpus, rows[i].Corpus));
        k.address = append(address, entranceBits, span(minEntrance, rows[i].Entrance));
    }

    // Keys start in the rows' order, so equal keys are already in their
    // former order and the position decides nothing here; a file this
    // program saved needs no sorting at all.
    const bool inOrder = std::is_sorted(keys.begin(), keys.end(), KeyBefore);
    const int posBits = BitsFor(n - 1);
    std::vector<uint64_t> packed;
    if (!inOrder && bits + posBits <= 64) {
        // An address and a position in one word: an eighth of the bytes to
        // move, and stretches of one address are short.
        ReserveLarge(packed, n);
        for (std::size_t i = 0; i < n; ++i) packed.push_back(keys[i].address << posBits | i);
        std::vector<uint64_t> scratch;
        ReserveLarge(scratch, n);
        scratch.resize(n);
        SortPackedAddresses(packed, scratch, posBits, bits);
        OrderPackedRuns(packed, keys, posBits, order);
    } else {
        if (!inOrder) SortKeys(keys, bits);
        order.resize(n);
        for (std::size_t k = 0; k < n; ++k) order[k] = keys[k].pos;
    }
    if (runs && housesDistinct) {
        // Street and house ranks now tell the texts apart: equal addresses are
        // equal numbers, and the sort has put them next to each other.
        const auto address = [&](std::size_t k) { return packed.empty() ? keys[k].address : packed[k] >> posBits; };
        runs->known = true;
        runs->starts.clear();
        for (std::size_t k = 0; k < n; ++k)
            if (k == 0 || address(k) != address(k - 1)) runs->starts.push_back(static_cast<uint32_t>(k));
    }
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

bool HouseBefore(std::string_view a, std::string_view b) { return HouseKeyBefore(MakeHouseKey(a), MakeHouseKey(b)); }

std::vector<std::string> DistinctStreets(const std::vector<BaseRecord>& rows) {
    std::vector<std::string> streets;
    std::unordered_set<std::string_view> seen;
    for (const auto& row : rows)
        if (seen.insert(row.Street).second) streets.push_back(row.Street);
    return streets;
}

bool SortProgramOrder(std::vector<BaseRecord>& rows, std::vector<std::string>* streets, AddressRuns* runs) {
    if (runs) *runs = {};
    Order order;
    const bool ranked = rows.size() >= 2 && OrderByRanks(rows, order, streets, runs);
    if (!ranked && rows.size() >= 2) order = OrderByPasses(rows);
    bool moved = false;
    for (std::size_t k = 0; k < order.size() && !moved; ++k) moved = order[k] != k;
    if (moved) ApplyOrder(rows, order);
    if (!ranked && streets) *streets = DistinctStreets(rows);
    if (rows.size() < 2 && runs) {
        runs->known = true;
        if (!rows.empty()) runs->starts = {0};
    }
    return ranked || rows.size() < 2;
}
