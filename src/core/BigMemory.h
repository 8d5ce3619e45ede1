#pragma once

#include <cstddef>
#include <limits>
#include <new>
#include <vector>

// Memory for the big arrays of a loaded log: the row bytes, the row index and the numbers read
// from the cells. On Linux a piece of 2 MiB or more is aligned to huge pages and advised to use
// them, so that filling it costs one page fault per 2 MiB instead of one per 4 KiB; smaller pieces,
// other systems and a build with ONDALYX_PORTABLE take plain heap memory. The program asks this
// of the system for its own arrays only, as it runs: nothing of the C library's settings.
namespace BigMemory {

// At least `bytes` bytes (`bytes` may be rounded up to what was given; the huge pages it fills
// are advised); nullptr when there is none. Freed with release().
void *allocate(size_t &bytes);
void release(void *memory) noexcept;

// A std::vector allocator taking its memory from allocate().
template <class T> struct Allocator {
    using value_type = T;

    Allocator() = default;
    template <class U> Allocator(const Allocator<U> &) noexcept {}

    T *allocate(size_t count)
    {
        if (count > std::numeric_limits<size_t>::max() / sizeof(T))
            throw std::bad_array_new_length();
        size_t bytes = count * sizeof(T);
        void *memory = BigMemory::allocate(bytes);
        if (!memory)
            throw std::bad_alloc();
        return static_cast<T *>(memory);
    }
    void deallocate(T *memory, size_t) noexcept { BigMemory::release(memory); }

    template <class U> bool operator==(const Allocator<U> &) const noexcept { return true; }
    template <class U> bool operator!=(const Allocator<U> &) const noexcept { return false; }
};

template <class T> using Vector = std::vector<T, Allocator<T>>;

} // namespace BigMemory
