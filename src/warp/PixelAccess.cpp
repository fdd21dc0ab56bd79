#include "warp/PixelAccess.h"

#include <algorithm>

namespace loom {

namespace {

uint8_t* clampedPixel(const Surface& surface, int32_t x, int32_t y) {
    x = std::clamp(x, 0, surface.getWidth() - 1);
    y = std::clamp(y, 0, surface.getHeight() - 1);
    return surface.getData(x, y);
}

}  // namespace

Rgba readPixelClamped(const Surface& surface, int32_t x, int32_t y) {
    const uint8_t* p = clampedPixel(surface, x, y);
    const ChannelOrder& order = surface.getChannelOrder();
    Rgba c;
    c.r = p[order.red];
    c.g = p[order.green];
    c.b = p[order.blue];
    c.a = order.hasAlpha() ? p[order.alpha] : 255;
    return c;
}

void writePixelClamped(const Surface& surface, int32_t x, int32_t y, const Rgba& color) {
    if (surface.getWidth() <= 0 || surface.getHeight() <= 0) return;
    uint8_t* p = clampedPixel(surface, x, y);
    const ChannelOrder& order = surface.getChannelOrder();
    p[order.red] = color.r;
    p[order.green] = color.g;
    p[order.blue] = color.b;
    if (order.hasAlpha()) p[order.alpha] = color.a;
}

}  // namespace loom
