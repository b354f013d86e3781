#include "platform/HeapTuning.h"

void keepLargeBuffersInHeap() {}
