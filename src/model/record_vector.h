#pragma once

#include <cstddef>
#include <new>
#include <vector>

#include "model/etrec.h"

// Arrays of millions of records (a sheet's display list, its placement
// buffer, its undo snapshots, a DXF import) take their memory through this
// allocator. It is the usual heap, so every count of the heap still sees it;
// a block of several megabytes is marked for large pages where the system
// offers them, so that the first touch of a fresh array costs one fault per
// two megabytes instead of one per four kilobytes, and walking it costs far
// fewer address translations.
void* AllocateRecordMemory(size_t bytes);
void FreeRecordMemory(void* p) noexcept;

template<class T> struct CRecordAllocator {
    using value_type = T;

    CRecordAllocator() = default;
    template<class U> CRecordAllocator(const CRecordAllocator<U>&) noexcept { }

    T* allocate(size_t n)
    {
        if (n > static_cast<size_t>(-1) / sizeof(T))
            throw std::bad_array_new_length();
        return static_cast<T*>(AllocateRecordMemory(n * sizeof(T)));
    }
    void deallocate(T* p, size_t) noexcept { FreeRecordMemory(p); }

    friend bool operator==(const CRecordAllocator&, const CRecordAllocator&) { return true; }
};

using CRecordVector = std::vector<CETREC, CRecordAllocator<CETREC>>;
