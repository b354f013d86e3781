#include "options/PreviewSize.h"

int findPreviewSize(const std::function<bool(int points)>& fitsAt) {
    int size = kLargestPreviewSize;
    while (size >= kSmallestPreviewSize) {
        if (fitsAt(size))
            break;
        --size;
    }
    return size;
}
