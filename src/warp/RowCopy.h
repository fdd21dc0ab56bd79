// Writes one output row from the source indices a row kernel found (iu = -1: outside, black).
#pragma once

#include <cstdint>

#include "image/Surface.h"

namespace loom {

template <typename Copy>
void copyRow(const Copy& copy, const Surface& source, uint8_t* out, const int32_t* iu, const int32_t* iv,
             int32_t width) {
    const uint8_t* sourceData = source.getData();
    const int64_t rowBytes = source.getRowBytes();
    const int64_t increment = source.getPixelInc();
    for (int32_t x = 0; x < width; ++x, out += Copy::OUTPUT_INCREMENT) {
        if (iu[x] >= 0)
            copy.copy(out, sourceData + iv[x] * rowBytes + iu[x] * increment);
        else
            copy.clear(out);
    }
}

}  // namespace loom
