#include "platform/HeapTuning.h"

#include <malloc.h>

void keepLargeBuffersInHeap() {
    // Buffers of any size come from the heap, and a freed one stays there for the next
    // (the board's buffers add up to some hundred megabytes at most).
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
}
