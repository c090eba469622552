#pragma once
// Arrays of a million rows and their sort keys are written once, page by
// page, right after they are allocated. With 4 KiB pages every first touch
// is a fault of its own, which on a virtual machine can cost more than the
// work on the page; asking for huge pages makes that a few hundred faults.

#include <cstddef>
#include <vector>

// Advice only: the range keeps working as it was when the system has no
// huge pages to give. Small ranges are left alone.
void AdviseHugePages(const void* data, std::size_t bytes);

// Room for `count` items, advised before anything is written into it.
template <class T>
void ReserveLarge(std::vector<T>& items, std::size_t count) {
    items.reserve(count);
    AdviseHugePages(items.data(), items.capacity() * sizeof(T));
}
