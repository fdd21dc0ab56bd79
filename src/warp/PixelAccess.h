// Clamped single-pixel access used by the reference warps: coordinates outside the surface are
// clamped to its nearest edge pixel, and channels are found through the surface's channel order.
#pragma once

#include <cstdint>

#include "image/Surface.h"

namespace loom {

struct Rgba {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;
    bool operator==(const Rgba& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

// Alpha is 255 when the surface has no alpha channel. The surface must not be empty.
Rgba readPixelClamped(const Surface& surface, int32_t x, int32_t y);
// Alpha is written only when the surface has an alpha channel. Does nothing on an empty surface.
void writePixelClamped(const Surface& surface, int32_t x, int32_t y, const Rgba& color);

}  // namespace loom
