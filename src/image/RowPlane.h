// RowPlane: rows of 32-bit pixels (see PackedPixel.h) that the fast upscalers read and write.
// Either the rows of an RGBA surface itself, or a ring of a few rows standing in for a whole
// image that only ever needs to be held a few rows at a time (an intermediate, or rows being
// converted from or to another channel order): row y then lives in slot y % ringRows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/PixelBlock.h"
#include "image/Surface.h"

namespace loom {

struct RowPlane {
    uint8_t* base = nullptr;
    int width = 0;
    int height = 0;
    size_t stride = 0;  // bytes from one slot to the next
    int ringRows = 0;   // 0: every row is present
    // When set and true: comparing whole pixels of the rows written so far gives the upscaler's
    // match (every pixel has one alpha, and under Seen that alpha is not 0).
    const bool* wholeComparesSoFar = nullptr;

    uint32_t* row(int y) const {
        const size_t slot = ringRows ? size_t(y % ringRows) : size_t(y);
        return reinterpret_cast<uint32_t*>(base + slot * stride);
    }
};

// True when the surface's own rows can serve as a RowPlane: RGBA with 4-byte aligned rows.
bool isRgbaPlane(const Surface& surface);
// The surface's own rows; requires isRgbaPlane(surface).
RowPlane planeOf(const Surface& surface);

// A ring of `rows` rows of `width` pixels standing for an image `height` rows tall.
class RowRing {
public:
    RowRing(int width, int height, int rows);
    const RowPlane& plane() const { return plane_; }

private:
    PixelBlock block_;
    RowPlane plane_;
};

}  // namespace loom
