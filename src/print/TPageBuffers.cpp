#include "TPageBuffers.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void TPageBuffers::keep()
{
#if defined(__GLIBC__)
    // A refusal only leaves the default.
    static const bool kept = [] {
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
        mallopt(M_TRIM_THRESHOLD, 64 << 20);
        return true;
    }();
    static_cast<void>(kept);
#endif
}

void TPageBuffers::release()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
