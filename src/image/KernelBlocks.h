// One source pixel's output block for each kernel, on 32-bit pixels (PackedPixel.h). The scalar
// rows use these for every pixel, the SIMD rows for the border columns. Neighbours:
//   A B C
//   D E F
//   G H I
// Every output pixel takes E's alpha.
#pragma once

#include <cstdint>

#include "image/PackedPixel.h"

namespace loom {

struct Neighbourhood {
    uint32_t a, b, c, d, e, f, g, h, i;
};

// The neighbourhood of pixel x of `row`, columns clamped to 0..width-1 (rows come clamped).
inline Neighbourhood neighbourhoodAt(const uint32_t* above, const uint32_t* row,
                                     const uint32_t* below, int x, int width) {
    const int l = x > 0 ? x - 1 : 0;
    const int r = x + 1 < width ? x + 1 : x;
    return {above[l], above[x], above[r], row[l], row[x], row[r], below[l], below[x], below[r]};
}

inline void scale2xBlock(const Neighbourhood& n, uint32_t* top, uint32_t* bottom) {
    const bool active = !sameColour(n.b, n.h) && !sameColour(n.d, n.f);
    top[0] = takeColour(active && sameColour(n.d, n.b), n.d, n.e);
    top[1] = takeColour(active && sameColour(n.b, n.f), n.f, n.e);
    bottom[0] = takeColour(active && sameColour(n.d, n.h), n.d, n.e);
    bottom[1] = takeColour(active && sameColour(n.h, n.f), n.f, n.e);
}

inline void scale3xBlock(const Neighbourhood& n, uint32_t* top, uint32_t* middle,
                         uint32_t* bottom) {
    const bool active = !sameColour(n.b, n.h) && !sameColour(n.d, n.f);
    const bool db = active && sameColour(n.d, n.b), bf = active && sameColour(n.b, n.f);
    const bool dh = active && sameColour(n.d, n.h), hf = active && sameColour(n.h, n.f);
    const bool ea = sameColour(n.e, n.a), ec = sameColour(n.e, n.c);
    const bool eg = sameColour(n.e, n.g), ei = sameColour(n.e, n.i);
    top[0] = takeColour(db, n.d, n.e);
    top[1] = takeColour((db && !ec) || (bf && !ea), n.b, n.e);
    top[2] = takeColour(bf, n.f, n.e);
    middle[0] = takeColour((db && !eg) || (dh && !ea), n.d, n.e);
    middle[1] = n.e;
    middle[2] = takeColour((bf && !ei) || (hf && !ec), n.f, n.e);
    bottom[0] = takeColour(dh, n.d, n.e);
    bottom[1] = takeColour((dh && !ei) || (hf && !eg), n.h, n.e);
    bottom[2] = takeColour(hf, n.f, n.e);
}

inline void eagle2xBlock(const Neighbourhood& n, uint32_t* top, uint32_t* bottom) {
    top[0] = takeColour(sameColour(n.d, n.a) && sameColour(n.a, n.b), n.a, n.e);
    top[1] = takeColour(sameColour(n.b, n.c) && sameColour(n.f, n.c), n.c, n.e);
    bottom[0] = takeColour(sameColour(n.d, n.g) && sameColour(n.h, n.g), n.g, n.e);
    bottom[1] = takeColour(sameColour(n.f, n.i) && sameColour(n.h, n.i), n.i, n.e);
}

}  // namespace loom
