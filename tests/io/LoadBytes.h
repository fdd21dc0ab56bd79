// Decoding files held in memory, for tests that build their inputs byte by byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageFile.h"

namespace loom::test {

// The decoder gets a copy of the bytes of its own: an animation reads them again for every frame,
// long after a temporary holding them is gone.
inline ImageSourceRef loadBytes(const std::vector<uint8_t>& bytes, ImageSource::Options options = {}) {
    Buffer copy(int32_t(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(copy.getData()));
    return loadImage(makeBufferSource(copy), options);
}

// Why the bytes do not load; "loaded" when they do.
inline std::string failureOf(const std::vector<uint8_t>& bytes, ImageSource::Options options = {}) {
    try {
        Surface(loadBytes(bytes, options));
        return "loaded";
    } catch (const ImageIoExc& e) {
        return e.what();
    }
}

// Pixels as 0xAARRGGBB, row by row; alpha 255 when the image has none.
inline std::vector<uint32_t> argbPixels(const Surface& s) {
    std::vector<uint32_t> pixels;
    const ChannelOrder& o = s.getChannelOrder();
    for (int32_t y = 0; y < s.getHeight(); ++y)
        for (int32_t x = 0; x < s.getWidth(); ++x) {
            const uint8_t* p = s.getData(x, y);
            pixels.push_back(uint32_t(s.hasAlpha() ? p[o.alpha] : 255) << 24 | uint32_t(p[o.red]) << 16 |
                             uint32_t(p[o.green]) << 8 | p[o.blue]);
        }
    return pixels;
}

}  // namespace loom::test
