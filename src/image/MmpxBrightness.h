// The brightness key by which MMPX protects the darker side of an edge: (R + G + B + 1) x (256 - A)
// of the pixel, smaller meaning darker, so opaque black is 1 and every transparent pixel at least
// 256 (a dark outline over transparency counts as darker). Under Seen a fully transparent pixel
// counts as (0, 0, 0, 0), key 256, whatever it hides, as it does for equality; under the other
// rules the pixel's own bytes count. The channel order does not matter: only the sum does.
#pragma once

#include <cstdint>

#include "image/PackedPixel.h"

namespace loom {

inline uint32_t mmpxBrightness(uint32_t pixel, PixelEquals same) {
    const uint32_t p = same.seen() ? same.key(pixel) : pixel;
    return ((p & 0xFFu) + (p >> 8 & 0xFFu) + (p >> 16 & 0xFFu) + 1u) * (256u - (p >> 24));
}

}  // namespace loom
