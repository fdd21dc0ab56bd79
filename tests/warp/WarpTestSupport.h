// Small helpers shared by the warp tests: quads, deterministic test images and pixel comparison.
#pragma once

#include <cstdint>
#include <string>

#include "image/Surface.h"
#include "warp/PixelAccess.h"
#include "warp/WarpQuad.h"

namespace loom::test {

// Every pixel distinct: red and green from the coordinates, blue from a hash, alpha varied.
// A quad with the four corners in order, relative to its bounds' top-left.
inline WarpQuad quadOf(Vec2f a, Vec2f b, Vec2f c, Vec2f d) {
    WarpQuad q;
    q.corners[0] = a;
    q.corners[1] = b;
    q.corners[2] = c;
    q.corners[3] = d;
    return q;
}

inline Surface makePatternSurface(int32_t width, int32_t height, bool alpha,
                                  ChannelOrder order = ChannelOrder()) {
    Surface s(width, height, alpha, order);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            writePixelClamped(
                s, x, y,
                Rgba{uint8_t(x), uint8_t(y), uint8_t((x * 7 + y * 13) ^ (x >> 8) ^ (y >> 4)),
                     uint8_t(255 - ((x + y) & 63))});
    return s;
}

// The first differing pixel as "(x, y)", or an empty string when the surfaces match in size, order
// and every byte of every pixel.
inline std::string firstDifference(const Surface& a, const Surface& b) {
    if (a.getWidth() != b.getWidth() || a.getHeight() != b.getHeight()) return "sizes differ";
    if (a.getChannelOrder() != b.getChannelOrder()) return "orders differ";
    const int inc = a.getPixelInc();
    for (int32_t y = 0; y < a.getHeight(); ++y)
        for (int32_t x = 0; x < a.getWidth(); ++x)
            for (int i = 0; i < inc; ++i)
                if (a.getData(x, y)[i] != b.getData(x, y)[i])
                    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

}  // namespace loom::test
