#include "io/codec/ImageSourceFileQoi.h"

#include <cstring>

#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"

namespace loom {

namespace {

constexpr size_t HEADER_BYTES = 14;
constexpr int64_t MOST_PIXELS_PER_BYTE = 62;  // one run op

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

int hashOf(const Rgba& p) { return (p.r * 3 + p.g * 5 + p.b * 7 + p.a * 11) % 64; }

// The op codes into pixels; ops ending before every pixel is made fail in the reader.
void decodeOps(ByteReader ops, uint8_t* pixels, uint64_t count) {
    Rgba recent[64];
    Rgba pixel{0, 0, 0, 255};
    uint64_t made = 0;
    while (made < count) {
        const uint8_t op = ops.u8();
        int run = 1;
        if (op == 0xFE || op == 0xFF) {
            const uint8_t* bytes = ops.take(op == 0xFE ? 3 : 4);
            pixel.r = bytes[0], pixel.g = bytes[1], pixel.b = bytes[2];
            if (op == 0xFF) pixel.a = bytes[3];
        } else if ((op >> 6) == 0) {
            pixel = recent[op & 63];
        } else if ((op >> 6) == 1) {
            pixel.r = uint8_t(pixel.r + ((op >> 4) & 3) - 2);
            pixel.g = uint8_t(pixel.g + ((op >> 2) & 3) - 2);
            pixel.b = uint8_t(pixel.b + (op & 3) - 2);
        } else if ((op >> 6) == 2) {
            const int greenDiff = (op & 63) - 32;
            const uint8_t redBlue = ops.u8();
            pixel.r = uint8_t(pixel.r + greenDiff + (redBlue >> 4) - 8);
            pixel.g = uint8_t(pixel.g + greenDiff);
            pixel.b = uint8_t(pixel.b + greenDiff + (redBlue & 15) - 8);
        } else {
            run = (op & 63) + 1;
        }
        recent[hashOf(pixel)] = pixel;
        for (; run > 0 && made < count; --run, ++made) {
            uint8_t* out = pixels + made * 4;
            out[0] = pixel.r, out[1] = pixel.g, out[2] = pixel.b, out[3] = pixel.a;
        }
    }
}

}  // namespace

ImageSourceFileQoi::ImageSourceFileQoi(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = requireSignature(dataSource, "qoif", 4, "QOI");
    ByteReader file(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "QOI");
    if (file.size() < HEADER_BYTES) throw ImageIoFailedLoadExc("QOI: bad header");
    file.skip(4);  // the signature
    const uint64_t width = file.u32be(), height = file.u32be();
    const int channels = file.u8(), colourSpace = file.u8();
    if ((channels != 3 && channels != 4) || colourSpace > 1)
        throw ImageIoFailedLoadExc("QOI: bad header");
    requireFillable(width * height, int64_t(file.remaining()), MOST_PIXELS_PER_BYTE, "QOI");
    allocatePixels(int64_t(width), int64_t(height), RGB, UINT8, RGBA);
    // The block is packed (4 bytes a pixel, rows back to back), so it is filled in one sweep.
    decodeOps(file, getPixels(), width * height);
    if (channels == 3)
        setSampleOrder(RGBX);  // the alpha the ops carry is not part of the picture
    else
        describeTransparency();
}

ImageSourceRef ImageSourceFileQoi::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileQoi>(std::move(dataSource), options);
}

}  // namespace loom
