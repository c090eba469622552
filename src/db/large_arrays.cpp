#include "large_arrays.h"

#include <sys/mman.h>

#include <cstdint>

void AdviseHugePages(const void* data, std::size_t bytes) {
    // Below this the allocator hands out recycled memory, already touched.
    constexpr std::size_t kWorthIt = std::size_t{8} << 20;
    constexpr uintptr_t kPage = 4096;
    if (bytes < kWorthIt) return;
    const auto start = reinterpret_cast<uintptr_t>(data);
    const uintptr_t begin = (start + kPage - 1) & ~(kPage - 1);
    const uintptr_t end = (start + bytes) & ~(kPage - 1);
    if (end > begin) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}
