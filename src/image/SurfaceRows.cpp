#include "image/SurfaceRows.h"

#include <cstring>

#include "image/PackedPixel.h"

namespace loom {

void readSurfaceRow(const Surface& surface, int y, uint32_t* out, KernelPath path) {
    const ChannelOrder& o = surface.getChannelOrder();
    const uint8_t* p = surface.getData(0, y);
    const int width = surface.getWidth();
    if (o.code == ChannelOrder::RGBA) {
        std::memcpy(out, p, size_t(width) * 4);
        return;
    }
    if (path == KernelPath::Avx2 && (o.code == ChannelOrder::RGB || o.code == ChannelOrder::BGR))
        return threeByteRowToPixelsAvx2(p, out, width, o.code == ChannelOrder::BGR);
    const uint8_t r = o.red, g = o.green, b = o.blue, a = o.alpha, inc = o.increment;
    const bool alpha = o.hasAlpha();
    for (int x = 0; x < width; ++x, p += inc) {
        out[x] = uint32_t(p[r]) | uint32_t(p[g]) << 8 | uint32_t(p[b]) << 16 |
                 (alpha ? uint32_t(p[a]) : 255u) << 24;
    }
}

void writeSurfaceRow(const uint32_t* in, const Surface& surface, int y, KernelPath path) {
    uint8_t* p = surface.getData(0, y);
    const int width = surface.getWidth();
    if (surface.getChannelOrder().code == ChannelOrder::RGBA) {
        std::memcpy(p, in, size_t(width) * 4);
        return;
    }
    if (path == KernelPath::Avx2) return pixelsToRgbRowAvx2(in, p, width);
    for (int x = 0; x < width; ++x, p += 3) {
        const uint32_t v = in[x];
        p[0] = uint8_t(v);
        p[1] = uint8_t(v >> 8);
        p[2] = uint8_t(v >> 16);
    }
}

bool rowHasAlpha(const uint32_t* row, int width, uint32_t alphaOf, KernelPath path) {
    if (path == KernelPath::Avx2) return rowHasAlphaAvx2(row, width, alphaOf);
    uint32_t differs = 0;
    for (int x = 0; x < width; ++x) differs |= (row[x] ^ alphaOf) & ALPHA_MASK;
    return differs == 0;
}

}  // namespace loom
