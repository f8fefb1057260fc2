#include "model/record_vector.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

void* AllocateRecordMemory(size_t bytes)
{
    void* p = ::operator new(bytes);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // The two-megabyte pages that lie wholly inside the block; a system that
    // keeps large pages off, or memory already in use, just stays as it is.
    constexpr uintptr_t kLargePage = uintptr_t {2} << 20;
    if (bytes >= 2 * kLargePage) {
        const auto begin = reinterpret_cast<uintptr_t>(p);
        const uintptr_t first = (begin + kLargePage - 1) & ~(kLargePage - 1);
        const uintptr_t last = (begin + bytes) & ~(kLargePage - 1);
        if (last > first)
            madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    return p;
}

void FreeRecordMemory(void* p) noexcept
{
    ::operator delete(p);
}
