// Decoder test helpers: bytes in memory through one decoder, and what came out as RGBA pixels (top
// row first, alpha 255 where the image has none), or the message it failed with.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/DataSource.h"
#include "io/ImageIoExc.h"
#include "io/ImageSource.h"

namespace loom::test {

using Pixel = std::array<uint8_t, 4>;
using CreateSource = ImageSourceRef (*)(DataSourceRef, ImageSource::Options);

constexpr Pixel RED{255, 0, 0, 255}, GREEN{0, 255, 0, 255}, BLUE{0, 0, 255, 255};
constexpr Pixel WHITE{255, 255, 255, 255}, BLACK{0, 0, 0, 255}, CLEAR{0, 0, 0, 0};

struct DecodedPixels {
    int32_t width = 0, height = 0;
    bool alpha = false;  // whether the decoder described the image with alpha
    std::vector<Pixel> pixels;
};

inline ImageSourceRef decodeBytes(CreateSource create, const std::vector<uint8_t>& bytes) {
    return create(makeBufferSource(Buffer(const_cast<uint8_t*>(bytes.data()), int32_t(bytes.size()))),
                  {});
}

inline DecodedPixels decodePixels(CreateSource create, const std::vector<uint8_t>& bytes) {
    const ImageSourceRef source = decodeBytes(create, bytes);
    const Surface s(source, SurfaceConstraintsDefault(), true);
    DecodedPixels d{s.getWidth(), s.getHeight(), source->hasAlpha(), {}};
    for (int32_t y = 0; y < s.getHeight(); ++y)
        for (int32_t x = 0; x < s.getWidth(); ++x) {
            const uint8_t* p = s.getData(x, y);
            d.pixels.push_back({p[0], p[1], p[2], p[3]});
        }
    return d;
}

// The failure's message, "loaded" when the bytes decode, or "wrong exception: ..." for any other
// kind of failure.
inline std::string failureOf(CreateSource create, const std::vector<uint8_t>& bytes) {
    try {
        decodePixels(create, bytes);
        return "loaded";
    } catch (const ImageIoFailedLoadExc& e) {
        return e.what();
    } catch (const std::exception& e) {
        return std::string("wrong exception: ") + e.what();
    }
}

inline std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// 16-bit values as little-endian bytes.
inline std::vector<uint8_t> littleEndian16(std::initializer_list<uint32_t> values) {
    std::vector<uint8_t> bytes;
    for (uint32_t v : values) bytes.push_back(uint8_t(v)), bytes.push_back(uint8_t(v >> 8));
    return bytes;
}

// The first `size` bytes of a file, as a cut download or a full disk leaves it.
inline std::vector<uint8_t> cutTo(std::vector<uint8_t> file, size_t size) {
    file.resize(size);
    return file;
}

}  // namespace loom::test
