#include "image/RowPlane.h"

#include <algorithm>
#include <cstring>

#include "image/SizeCheck.h"

namespace loom {

bool isRgbaPlane(const Surface& surface) {
    return surface.getChannelOrder().code == ChannelOrder::RGBA &&
           surface.getRowBytes() % 4 == 0 &&
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

bool hasUniformAlpha(const Surface& surface) {
    const ChannelOrder& o = surface.getChannelOrder();
    if (!o.hasAlpha() || surface.getWidth() == 0 || surface.getHeight() == 0) return true;
    // Every order with alpha has 4-byte pixels: compare whole words under the alpha byte's mask,
    // branch-free per row so that the compiler vectorises it.
    const uint32_t mask = 0xFFu << (8 * o.alpha);
    uint32_t first;
    std::memcpy(&first, surface.getData(), 4);
    const size_t width = size_t(surface.getWidth());
    for (int y = 0; y < surface.getHeight(); ++y) {
        const uint8_t* p = surface.getData(0, y);
        uint32_t differs = 0;
        for (size_t x = 0; x < width; ++x) {
            uint32_t word;
            std::memcpy(&word, p + 4 * x, 4);
            differs |= (word ^ first) & mask;
        }
        if (differs) return false;
    }
    return true;
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
