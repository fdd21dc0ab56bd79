// Pixels of the fast kernels: one uint32_t per pixel, read straight from RGBA memory, so on this
// little-endian machine red is bits 0-7, green 8-15, blue 16-23 and alpha 24-31. Colours compare
// under COLOUR_MASK (alpha never takes part); the lane order differs from the reference's packed
// colour, but exact equality and copying do not depend on it.
#pragma once

#include <cstdint>

namespace loom {

constexpr uint32_t COLOUR_MASK = 0x00FFFFFFu;
constexpr uint32_t ALPHA_MASK = 0xFF000000u;

inline bool sameColour(uint32_t a, uint32_t b) { return ((a ^ b) & COLOUR_MASK) == 0; }

// The colour of `from` with the alpha of `own` when `take`, else `own`.
inline uint32_t takeColour(bool take, uint32_t from, uint32_t own) {
    return take ? (from & COLOUR_MASK) | (own & ALPHA_MASK) : own;
}

}  // namespace loom
