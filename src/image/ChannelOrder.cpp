#include "image/ChannelOrder.h"

namespace loom {

namespace {

struct Layout {
    uint8_t red, green, blue, alpha, increment;
};

constexpr uint8_t N = ChannelOrder::NO_CHANNEL;

// Indexed by code.
constexpr Layout LAYOUTS[] = {
    {0, 1, 2, 3, 4},  // RGBA
    {2, 1, 0, 3, 4},  // BGRA
    {1, 2, 3, 0, 4},  // ARGB
    {3, 2, 1, 0, 4},  // ABGR
    {0, 1, 2, N, 4},  // RGBX
    {2, 1, 0, N, 4},  // BGRX
    {1, 2, 3, N, 4},  // XRGB
    {3, 2, 1, N, 4},  // XBGR
    {0, 1, 2, N, 3},  // RGB
    {2, 1, 0, N, 3},  // BGR
    {N, N, N, N, N},  // UNSPECIFIED
};

}  // namespace

ChannelOrder::ChannelOrder(int c) {
    code = (c >= RGBA && c <= UNSPECIFIED) ? c : UNSPECIFIED;
    const Layout& l = LAYOUTS[code];
    red = l.red;
    green = l.green;
    blue = l.blue;
    alpha = l.alpha;
    increment = l.increment;
}

}  // namespace loom
