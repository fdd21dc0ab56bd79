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

// Exact equality of the bits the match looks at: a pixel's key keeps the bits `mask` names, or
// for a fully transparent pixel those `hiddenMask` names (none under Seen, so all such pixels
// share the key 0, which no pixel that shows has).
struct PixelEquals {
    uint32_t mask;
    uint32_t hiddenMask;
    explicit constexpr PixelEquals(PixelMatch match)
        : mask(match == PixelMatch::Colour ? COLOUR_MASK : ~0u),
          hiddenMask(match == PixelMatch::Colour ? COLOUR_MASK
                     : match == PixelMatch::Seen ? 0u
                                                 : ~0u) {}
    constexpr bool seen() const { return hiddenMask != mask; }
    constexpr bool comparesWhole() const { return mask == ~0u && hiddenMask == ~0u; }
    constexpr uint32_t key(uint32_t p) const { return p & ((p & ALPHA_MASK) ? mask : hiddenMask); }
    constexpr bool operator()(uint32_t a, uint32_t b) const {
        return seen() ? key(a) == key(b) : ((a ^ b) & mask) == 0;
    }
};

}  // namespace loom
