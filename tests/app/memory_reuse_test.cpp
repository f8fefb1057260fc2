#include "app/memory_reuse.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

TEST(MemoryReuse, AFreedLargeBlockStaysWithTheProgram)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer brings its own allocator";
#elif defined(__GLIBC__)
    KeepLargeBlocksForReuse();
    {
        std::vector<char> block(64 << 20, 1); // a project's worth of records
        volatile char seen = block[12345];
        (void)seen;
    }
    // Left to itself the C library would have mapped the block apart and
    // handed it back on free; kept, it remains in the program's heap.
    EXPECT_GE(mallinfo2().arena, size_t {64} << 20);
#else
    GTEST_SKIP() << "only the GNU C library is tuned";
#endif
}
