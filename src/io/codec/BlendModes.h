// BlendModes: one 8-bit RGBA pixel laid over another with a blend mode and an opacity, as layered
// pixel-art files compose their layers. The modes blend colours by the W3C compositing and blending
// formulas (Addition, Subtract and Divide, which those lack, by their plain arithmetic), then
// the result is laid on by source-over.
#pragma once

#include <cstdint>

namespace loom {

// In the order layered files number them.
enum class BlendMode : uint8_t {
    Normal,
    Multiply,
    Screen,
    Overlay,
    Darken,
    Lighten,
    ColorDodge,
    ColorBurn,
    HardLight,
    SoftLight,
    Difference,
    Exclusion,
    Hue,
    Saturation,
    Color,
    Luminosity,
    Addition,
    Subtract,
    Divide,
};
constexpr int BLEND_MODE_COUNT = int(BlendMode::Divide) + 1;

// (a * b) / 255 rounded to the nearest: 255 being odd, no quotient lies half way.
inline uint32_t mulDiv255(uint32_t a, uint32_t b) { return (a * b + 127) / 255; }

// Lays source (RGBA, not premultiplied) over destination with opacity 0 to 255.
void blendPixel(uint8_t* destination, const uint8_t* source, uint32_t opacity, BlendMode mode);

}  // namespace loom
