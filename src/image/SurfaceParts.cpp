#include "image/SurfaceParts.h"

#include <cstring>
#include <utility>

#include "image/Upscale.h"

namespace loom {

namespace {

// Pixel (x, y) of the result comes from the source's pixel at (sx(x), sy(y)).
template <class MapX, class MapY>
Surface gather(const Surface& source, int32_t width, int32_t height, MapX sx, MapY sy) {
    Surface result(width, height, source.hasAlpha());
    result.setPremultiplied(source.isPremultiplied());
    const ChannelOrder& from = source.getChannelOrder();
    const ChannelOrder& to = result.getChannelOrder();
    const bool sameOrder = from == to;
    const int bytes = to.increment;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t row = sy(y);
        uint8_t* out = result.getData(0, y);
        for (int32_t x = 0; x < width; ++x, out += bytes) {
            const uint8_t* in = source.getData(sx(x), row);
            if (sameOrder) {
                std::memcpy(out, in, size_t(bytes));
                continue;
            }
            out[to.red] = in[from.red], out[to.green] = in[from.green], out[to.blue] = in[from.blue];
            if (result.hasAlpha()) out[to.alpha] = in[from.alpha];
        }
    }
    return result;
}

// The source turned a quarter turn: pixel (x, y) of the result comes from from(x, y).
template <class From>
Surface turned(const Surface& source, From from) {
    Surface result(source.getHeight(), source.getWidth(), source.hasAlpha(), source.getChannelOrder());
    result.setPremultiplied(source.isPremultiplied());
    const size_t bytes = source.getPixelInc();
    for (int32_t y = 0; y < result.getHeight(); ++y)
        for (int32_t x = 0; x < result.getWidth(); ++x) {
            const auto [sx, sy] = from(x, y);
            std::memcpy(result.getData(x, y), source.getData(sx, sy), bytes);
        }
    return result;
}

int32_t wrapped(int32_t i, int32_t size) { return ((i % size) + size) % size; }

}  // namespace

Surface copyArea(const Surface& source, const Area& area) {
    if (source.getChannelOrder().code == (source.hasAlpha() ? ChannelOrder::RGBA : ChannelOrder::RGB)) {
        // Already in the layout made: whole rows at a time.
        Surface result(area.getWidth(), area.getHeight(), source.hasAlpha());
        result.setPremultiplied(source.isPremultiplied());
        pasteArea(source, area, result, 0, 0);
        return result;
    }
    return gather(
        source, area.getWidth(), area.getHeight(), [&](int32_t x) { return area.x1 + x; },
        [&](int32_t y) { return area.y1 + y; });
}

Surface wrapPadded(const Surface& source, int32_t padX, int32_t padY) {
    const int32_t w = source.getWidth(), h = source.getHeight();
    checkScaledSize(source, 1);
    return gather(
        source, w + 2 * padX, h + 2 * padY, [&](int32_t x) { return wrapped(x - padX, w); },
        [&](int32_t y) { return wrapped(y - padY, h); });
}

void pasteArea(const Surface& from, const Area& area, const Surface& into, int32_t x, int32_t y) {
    const size_t rowBytes = size_t(area.getWidth()) * size_t(from.getPixelInc());
    for (int32_t row = 0; row < area.getHeight(); ++row)
        std::memcpy(into.getData(x, y + row), from.getData(area.x1, area.y1 + row), rowBytes);
}

Surface turnedClockwise(const Surface& source) {
    // The source's bottom-left corner becomes the top-left.
    const int32_t lastRow = source.getHeight() - 1;
    return turned(source, [&](int32_t x, int32_t y) { return std::pair(y, lastRow - x); });
}

Surface turnedCounterClockwise(const Surface& source) {
    // The source's top-right corner becomes the top-left.
    const int32_t lastColumn = source.getWidth() - 1;
    return turned(source, [&](int32_t x, int32_t y) { return std::pair(lastColumn - y, x); });
}

Surface paddedWithTransparency(const Surface& source, int32_t width, int32_t height, int32_t x,
                               int32_t y) {
    Surface result(width, height, true, source.getChannelOrder());
    result.setPremultiplied(source.isPremultiplied());
    for (int32_t row = 0; row < height; ++row)
        std::memset(result.getData(0, row), 0, size_t(width) * result.getPixelInc());
    pasteArea(source, source.getBounds(), result, x, y);
    return result;
}

}  // namespace loom
