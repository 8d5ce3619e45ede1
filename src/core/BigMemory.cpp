#include "core/BigMemory.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__) && !defined(ONDALYX_PORTABLE)
#define ONDALYX_HUGE_PAGES 1
#include <sys/mman.h>
#endif

namespace BigMemory {

namespace {
#ifdef ONDALYX_HUGE_PAGES
constexpr size_t HugePage = size_t(2) << 20;

// Advises the whole huge pages inside [memory, memory + bytes) to be backed by huge pages when
// first touched; nothing elsewhere.
void advise(void *memory, size_t bytes) noexcept
{
#ifdef MADV_HUGEPAGE
    const uintptr_t begin = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t first = (begin + HugePage - 1) / HugePage * HugePage;
    const uintptr_t last = (begin + bytes) / HugePage * HugePage;
    if (bytes >= HugePage && last > first)
        madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
#else
    (void)memory;
    (void)bytes;
#endif
}
#endif
} // namespace

void *allocate(size_t &bytes)
{
#ifdef ONDALYX_HUGE_PAGES
    if (bytes >= HugePage && bytes <= std::numeric_limits<size_t>::max() - HugePage) {
        // Only the huge pages the asked size fills are advised: the rest of the last one, which
        // may never be used, takes small pages as it is touched.
        const size_t asked = bytes;
        bytes = (bytes + HugePage - 1) / HugePage * HugePage;
        void *memory = std::aligned_alloc(HugePage, bytes);
        if (memory)
            advise(memory, asked);
        return memory;
    }
#endif
    return std::malloc(bytes ? bytes : 1);
}

void release(void *memory) noexcept
{
    std::free(memory);
}

} // namespace BigMemory
