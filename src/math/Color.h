// ColorA: four floats r, g, b, a, nominally 0 to 1.
#pragma once

#include <algorithm>
#include <cstdint>

namespace loom {

struct ColorA {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    constexpr ColorA() = default;
    constexpr ColorA(float r_, float g_, float b_, float a_ = 1.0f) : r(r_), g(g_), b(b_), a(a_) {}

    constexpr bool operator==(const ColorA& o) const {
        return r == o.r && g == o.g && b == o.b && a == o.a;
    }
    constexpr bool operator!=(const ColorA& o) const { return !(*this == o); }
};

// A channel value as a byte: times 255, truncated (0.5 gives 127), out-of-range values clamped.
inline uint8_t toByte(float v) { return static_cast<uint8_t>(std::clamp(v, 0.0f, 1.0f) * 255.0f); }

}  // namespace loom
