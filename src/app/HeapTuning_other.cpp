#include "app/HeapTuning.h"

void keepLargeBuffersInHeap() {}
