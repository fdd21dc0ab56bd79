// ChannelOrder: where red, green, blue and alpha sit inside one pixel, and how far apart pixels are.
// Surfaces and textures share the codes; the image source/target layer's ImageIo::SampleOrder
// gives codes 0 to 9 the same meaning and adds gray orders.
#pragma once

#include <cstdint>

namespace loom {

struct ChannelOrder {
    enum Code : int {
        RGBA = 0,
        BGRA = 1,
        ARGB = 2,
        ABGR = 3,
        RGBX = 4,
        BGRX = 5,
        XRGB = 6,
        XBGR = 7,
        RGB = 8,
        BGR = 9,
        UNSPECIFIED = 10
    };
    static constexpr uint8_t NO_CHANNEL = 255;

    int code = UNSPECIFIED;
    uint8_t red = NO_CHANNEL;
    uint8_t green = NO_CHANNEL;
    uint8_t blue = NO_CHANNEL;
    uint8_t alpha = NO_CHANNEL;
    uint8_t increment = NO_CHANNEL;

    ChannelOrder() = default;
    // Fills the offsets from the code's table row; any code outside 0..10 becomes UNSPECIFIED.
    ChannelOrder(int code);  // NOLINT: implicit on purpose, codes stand for orders everywhere

    bool hasAlpha() const { return alpha != NO_CHANNEL; }
    bool operator==(const ChannelOrder& o) const { return code == o.code; }
    bool operator!=(const ChannelOrder& o) const { return code != o.code; }
};

}  // namespace loom
