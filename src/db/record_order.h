#pragma once
// The program's order of rows: by street, house, corpus, entrance and key.
// Texts compare byte by byte as unsigned CP1251 codes, no case folding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "records.h"

// Leading decimal integer: optional blanks and sign, then digits up to the
// first other character; 0 when there are none. Values past 32 bits stop at
// the nearest 32-bit value.
int32_t LeadingInteger(std::string_view text);

// True when house a comes before house b: by leading number when both have
// one and they differ, otherwise by the texts padded on the left with "0" to
// 16 characters. Not a consistent order for every mixture of texts, so it is
// only ever used with StableMergeSort.
bool HouseBefore(std::string_view a, std::string_view b);

// Where the rows of each address begin in the sorted rows. Known when the
// sort could tell addresses apart by their ranks: the rows of every address
// are then next to each other. Otherwise the caller groups them itself.
struct AddressRuns {
    bool known = false;
    std::vector<uint32_t> starts;  // ascending; the first is 0 when there are rows
};

// Five stable passes, least significant first: key, entrance, corpus, house,
// street. Rows equal in all five keep their relative order. True when the
// comparisons were consistent on these rows, so that sorting the result again
// would leave it as it is. With `streets`, also the distinct streets of the
// sorted rows in order of first appearance, as DistinctStreets gives them.
bool SortProgramOrder(std::vector<BaseRecord>& rows, std::vector<std::string>* streets = nullptr,
                      AddressRuns* runs = nullptr);

// The distinct Street texts in order of first appearance (exact comparison).
std::vector<std::string> DistinctStreets(const std::vector<BaseRecord>& rows);

// Bottom-up merge sort that keeps equal items in order. Well defined for any
// comparator, consistent or not: every access stays inside the ranges.
template <class T, class Less>
void StableMergeSort(std::vector<T>& items, Less less) {
    const std::size_t n = items.size();
    constexpr std::size_t kRun = 24;
    for (std::size_t lo = 0; lo < n; lo += kRun) {
        const std::size_t hi = lo + kRun < n ? lo + kRun : n;
        for (std::size_t i = lo + 1; i < hi; ++i) {
            T item = std::move(items[i]);
            std::size_t j = i;
            for (; j > lo && less(item, items[j - 1]); --j) items[j] = std::move(items[j - 1]);
            items[j] = std::move(item);
        }
    }
    if (n <= kRun) return;
    std::vector<T> buffer(n);
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = lo + width < n ? lo + width : n;
            const std::size_t hi = lo + 2 * width < n ? lo + 2 * width : n;
            std::size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi) buffer[out++] = less(items[b], items[a]) ? std::move(items[b++]) : std::move(items[a++]);
            while (a < mid) buffer[out++] = std::move(items[a++]);
            while (b < hi) buffer[out++] = std::move(items[b++]);
        }
        items.swap(buffer);
    }
}
