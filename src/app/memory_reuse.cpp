#include "app/memory_reuse.h"

#include <cstdlib> // says which C library this is

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepLargeBlocksForReuse()
{
#if defined(__GLIBC__)
    // Blocks up to 256 MiB (about twenty million records) come from the
    // reused heap, and up to 512 MiB of freed memory stays with the program.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}
