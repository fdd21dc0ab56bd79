#include "io/codec/BlendModes.h"

#include <algorithm>
#include <cmath>

namespace loom {

namespace {

struct Rgb {
    float r, g, b;
};

float hardLight(float b, float s) { return s <= 0.5f ? b * 2 * s : b + (2 * s - 1) - b * (2 * s - 1); }

float softLight(float b, float s) {
    if (s <= 0.5f) return b - (1 - 2 * s) * b * (1 - b);
    const float d = b <= 0.25f ? ((16 * b - 12) * b + 4) * b : std::sqrt(b);
    return b + (2 * s - 1) * (d - b);
}

float separable(BlendMode mode, float b, float s) {
    switch (mode) {
        case BlendMode::Multiply: return b * s;
        case BlendMode::Screen: return b + s - b * s;
        case BlendMode::Overlay: return hardLight(s, b);
        case BlendMode::Darken: return std::min(b, s);
        case BlendMode::Lighten: return std::max(b, s);
        case BlendMode::ColorDodge:
            if (b == 0) return 0;
            return s >= 1 ? 1 : std::min(1.0f, b / (1 - s));
        case BlendMode::ColorBurn:
            if (b >= 1) return 1;
            return s <= 0 ? 0 : 1 - std::min(1.0f, (1 - b) / s);
        case BlendMode::HardLight: return hardLight(b, s);
        case BlendMode::SoftLight: return softLight(b, s);
        case BlendMode::Difference: return std::abs(b - s);
        case BlendMode::Exclusion: return b + s - 2 * b * s;
        case BlendMode::Addition: return std::min(1.0f, b + s);
        case BlendMode::Subtract: return std::max(0.0f, b - s);
        case BlendMode::Divide:
            if (s <= 0) return b <= 0 ? 0 : 1;
            return std::min(1.0f, b / s);
        default: return s;
    }
}

float lum(Rgb c) { return 0.3f * c.r + 0.59f * c.g + 0.11f * c.b; }

Rgb clipColor(Rgb c) {
    const float l = lum(c);
    const float n = std::min({c.r, c.g, c.b}), x = std::max({c.r, c.g, c.b});
    auto fit = [&](float v) {
        if (n < 0) v = l + (v - l) * l / (l - n);
        if (x > 1) v = l + (v - l) * (1 - l) / (x - l);
        return v;
    };
    return {fit(c.r), fit(c.g), fit(c.b)};
}

Rgb setLum(Rgb c, float l) {
    const float d = l - lum(c);
    return clipColor({c.r + d, c.g + d, c.b + d});
}

float sat(Rgb c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}); }

Rgb setSat(Rgb c, float s) {
    float* v[3] = {&c.r, &c.g, &c.b};
    std::sort(v, v + 3, [](const float* a, const float* b) { return *a < *b; });
    if (*v[2] > *v[0]) {
        *v[1] = (*v[1] - *v[0]) * s / (*v[2] - *v[0]);
        *v[2] = s;
    } else {
        *v[1] = *v[2] = 0;
    }
    *v[0] = 0;
    return c;
}

Rgb nonSeparable(BlendMode mode, Rgb b, Rgb s) {
    switch (mode) {
        case BlendMode::Hue: return setLum(setSat(s, sat(b)), lum(b));
        case BlendMode::Saturation: return setLum(setSat(b, sat(s)), lum(b));
        case BlendMode::Color: return setLum(s, lum(b));
        default: return setLum(b, lum(s));  // Luminosity
    }
}

uint8_t toByte(float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); }

}  // namespace

void blendPixel(uint8_t* destination, const uint8_t* source, uint32_t opacity, BlendMode mode) {
    const uint32_t sa = mulDiv255(source[3], opacity);
    if (sa == 0) return;
    uint8_t colour[3] = {source[0], source[1], source[2]};
    const uint32_t da = destination[3];
    if (mode != BlendMode::Normal && da != 0) {
        // The colour laid on is the source's blended with the backdrop in the backdrop's
        // proportion: (1 - ab) Cs + ab B(Cb, Cs).
        const Rgb b{destination[0] / 255.0f, destination[1] / 255.0f, destination[2] / 255.0f};
        const Rgb s{source[0] / 255.0f, source[1] / 255.0f, source[2] / 255.0f};
        Rgb mixed;
        if (mode >= BlendMode::Hue && mode <= BlendMode::Luminosity)
            mixed = nonSeparable(mode, b, s);
        else
            mixed = {separable(mode, b.r, s.r), separable(mode, b.g, s.g), separable(mode, b.b, s.b)};
        const float ab = da / 255.0f;
        colour[0] = toByte((1 - ab) * s.r + ab * mixed.r);
        colour[1] = toByte((1 - ab) * s.g + ab * mixed.g);
        colour[2] = toByte((1 - ab) * s.b + ab * mixed.b);
    }
    // Source-over without premultiplied alpha: each colour weighted by its share of the result's
    // alpha, in 255ths, rounded to the nearest.
    const uint32_t under = da * (255 - sa);   // the backdrop's share, in 255ths of 255ths
    const uint32_t alpha = sa * 255 + under;  // the result's alpha times 255
    for (int c = 0; c < 3; ++c)
        destination[c] = uint8_t((colour[c] * sa * 255 + destination[c] * under + alpha / 2) / alpha);
    destination[3] = uint8_t((alpha + 127) / 255);
}

}  // namespace loom
