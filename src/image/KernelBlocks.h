// One source pixel's output block for each kernel, on 32-bit pixels (PackedPixel.h). The scalar
// rows use these for every pixel, the SIMD rows for the border columns. Neighbours:
//   A B C
//   D E F
//   G H I
// Each output pixel is a whole copy of the neighbour whose colour it takes, alpha included.
#pragma once

#include <cstdint>

#include "image/PackedPixel.h"

namespace loom {

struct Neighbourhood {
    uint32_t a, b, c, d, e, f, g, h, i;
};

// The neighbourhood of pixel x of `row`, columns clamped to 0..width-1 (rows come clamped).
inline Neighbourhood neighbourhoodAt(const uint32_t* above, const uint32_t* row, const uint32_t* below,
                                     int x, int width) {
    const int l = x > 0 ? x - 1 : 0;
    const int r = x + 1 < width ? x + 1 : x;
    return {above[l], above[x], above[r], row[l], row[x], row[r], below[l], below[x], below[r]};
}

inline void scale2xBlock(const Neighbourhood& n, PixelEquals same, uint32_t* top, uint32_t* bottom) {
    const bool active = !same(n.b, n.h) && !same(n.d, n.f);
    top[0] = (active && same(n.d, n.b)) ? n.d : n.e;
    top[1] = (active && same(n.b, n.f)) ? n.f : n.e;
    bottom[0] = (active && same(n.d, n.h)) ? n.d : n.e;
    bottom[1] = (active && same(n.h, n.f)) ? n.f : n.e;
}

inline void scale3xBlock(const Neighbourhood& n, PixelEquals same, uint32_t* top, uint32_t* middle,
                         uint32_t* bottom) {
    const bool active = !same(n.b, n.h) && !same(n.d, n.f);
    const bool db = active && same(n.d, n.b), bf = active && same(n.b, n.f);
    const bool dh = active && same(n.d, n.h), hf = active && same(n.h, n.f);
    const bool ea = same(n.e, n.a), ec = same(n.e, n.c);
    const bool eg = same(n.e, n.g), ei = same(n.e, n.i);
    top[0] = db ? n.d : n.e;
    top[1] = ((db && !ec) || (bf && !ea)) ? n.b : n.e;
    top[2] = bf ? n.f : n.e;
    middle[0] = ((db && !eg) || (dh && !ea)) ? n.d : n.e;
    middle[1] = n.e;
    middle[2] = ((bf && !ei) || (hf && !ec)) ? n.f : n.e;
    bottom[0] = dh ? n.d : n.e;
    bottom[1] = ((dh && !ei) || (hf && !eg)) ? n.h : n.e;
    bottom[2] = hf ? n.f : n.e;
}

inline void eagle2xBlock(const Neighbourhood& n, PixelEquals same, uint32_t* top, uint32_t* bottom) {
    top[0] = (same(n.d, n.a) && same(n.a, n.b)) ? n.a : n.e;
    top[1] = (same(n.b, n.c) && same(n.f, n.c)) ? n.c : n.e;
    bottom[0] = (same(n.d, n.g) && same(n.h, n.g)) ? n.g : n.e;
    bottom[1] = (same(n.f, n.i) && same(n.h, n.i)) ? n.i : n.e;
}

}  // namespace loom
