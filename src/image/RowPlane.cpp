#include "image/RowPlane.h"

#include <algorithm>

#include "image/SizeCheck.h"

namespace loom {

bool isRgbaPlane(const Surface& surface) {
    return surface.getChannelOrder().code == ChannelOrder::RGBA && surface.getRowBytes() % 4 == 0 &&
           reinterpret_cast<uintptr_t>(surface.getData()) % 4 == 0;
}

RowPlane planeOf(const Surface& surface) {
    RowPlane p;
    p.base = surface.getData();
    p.width = surface.getWidth();
    p.height = surface.getHeight();
    p.stride = size_t(surface.getRowBytes());
    return p;
}

RowRing::RowRing(int width, int height, int rows) {
    rows = std::max(1, std::min(rows, height));
    // Slots are a whole number of cache lines apart so rows never share a line.
    const int64_t stride = (checkedProduct({width, 4}) + 63) / 64 * 64;
    block_ = allocatePixelBlock(size_t(checkedProduct({stride, rows})));
    plane_.base = block_.get();
    plane_.width = width;
    plane_.height = height;
    plane_.stride = size_t(stride);
    plane_.ringRows = rows;
}

}  // namespace loom
