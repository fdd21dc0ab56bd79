// Pixels of the upscalers: one uint32_t per pixel with the colour in bits 0-23 and alpha in bits
// 24-31. The fast kernels read them straight from RGBA memory (red in bits 0-7 on this
// little-endian machine); the reference window packs red << 16 | green << 8 | blue. The lane
// order differs, but exact equality under a mask and whole copies do not depend on it.
#pragma once

#include <cstdint>

#include "image/PixelMatch.h"

namespace loom {

constexpr uint32_t COLOUR_MASK = 0x00FFFFFFu;
constexpr uint32_t ALPHA_MASK = 0xFF000000u;

// Exact equality of the bits the match looks at.
struct PixelEquals {
    uint32_t mask;
    explicit constexpr PixelEquals(PixelMatch match)
        : mask(match == PixelMatch::ColourAndAlpha ? ~0u : COLOUR_MASK) {}
    constexpr bool operator()(uint32_t a, uint32_t b) const { return ((a ^ b) & mask) == 0; }
};

}  // namespace loom
