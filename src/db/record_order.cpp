#include "record_order.h"

#include <limits>
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

// The house comparison with each house's number and padded text worked out
// once; a house longer than the padding falls back to HouseBefore itself.
void StableSortByHouse(Order& order, const Rows& rows) {
    struct Key {
        uint64_t hi, lo;
        int32_t number;
        uint32_t pos;
        bool longText;
    };
    std::vector<Key> keys;
    keys.reserve(order.size());
    for (uint32_t pos : order) {
        const std::string& house = rows[pos].House;
        const bool longText = house.size() > static_cast<std::size_t>(kHousePad);
        const std::string padded = longText ? std::string() : PadLeft(house, kHousePad, '0');
        keys.push_back({PackBytes(padded, 0), PackBytes(padded, 8), LeadingInteger(house), pos, longText});
    }
    StableMergeSort(keys, [&rows](const Key& a, const Key& b) {
        if (a.number != 0 && b.number != 0 && a.number != b.number) return a.number < b.number;
        if (!a.longText && !b.longText) return std::tie(a.hi, a.lo) < std::tie(b.hi, b.lo);
        return HouseBefore(rows[a.pos].House, rows[b.pos].House);
    });
    for (std::size_t i = 0; i < keys.size(); ++i) order[i] = keys[i].pos;
}

// Moves rows[order[k]] to place k, following the cycles of the permutation
// so that no second copy of the rows is needed.
void ApplyOrder(Rows& rows, const Order& order) {
    std::vector<bool> placed(rows.size(), false);
    for (std::size_t start = 0; start < rows.size(); ++start) {
        if (placed[start]) continue;
        BaseRecord held = std::move(rows[start]);
        std::size_t at = start;
        while (order[at] != start) {
            rows[at] = std::move(rows[order[at]]);
            placed[at] = true;
            at = order[at];
        }
        rows[at] = std::move(held);
        placed[at] = true;
    }
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

bool HouseBefore(std::string_view a, std::string_view b) {
    const int32_t na = LeadingInteger(a), nb = LeadingInteger(b);
    if (na != 0 && nb != 0 && na != nb) return na < nb;
    return PadLeft(a, kHousePad, '0') < PadLeft(b, kHousePad, '0');
}

void SortProgramOrder(std::vector<BaseRecord>& rows) {
    if (rows.size() < 2) return;
    Order order(rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<uint32_t>(i);
    StableSortByText(order, rows, [](const BaseRecord& r) -> std::string_view { return r.KeyHex; });
    StableSortByNumber(order, rows, [](const BaseRecord& r) { return r.Entrance; });
    StableSortByNumber(order, rows, [](const BaseRecord& r) { return r.Corpus; });
    StableSortByHouse(order, rows);
    StableSortByText(order, rows, [](const BaseRecord& r) -> std::string_view { return r.Street; });
    ApplyOrder(rows, order);
}
