#include "io/ImageIo.h"

namespace loom {

bool ImageIo::hasAlpha() const {
    switch (sampleOrder_) {
        case RGBA:
        case BGRA:
        case ARGB:
        case ABGR:
        case YA: return true;
        default: return false;
    }
}

int ImageIo::channelsOf(SampleOrder order) {
    if (order >= RGBA && order <= XBGR) return 4;
    if (order == RGB_ORDER || order == BGR) return 3;
    if (order == Y) return 1;
    if (order == YA) return 2;
    return 0;
}

int ImageIo::bytesPerSampleOf(DataType type) {
    switch (type) {
        case UINT8: return 1;
        case UINT16: return 2;
        case FLOAT32: return 4;
        default: return 0;
    }
}

}  // namespace loom
