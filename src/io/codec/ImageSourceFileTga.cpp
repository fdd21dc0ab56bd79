#include "io/codec/ImageSourceFileTga.h"

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"
#include "io/codec/SampleScale.h"

namespace loom {

namespace {

constexpr size_t HEADER_BYTES = 18;

using Rgba = std::array<uint8_t, 4>;

struct TgaHeader {
    uint8_t idBytes, mapType, imageType;
    uint16_t mapFirst, mapLength;
    uint8_t mapEntryBits;
    uint16_t width, height;
    uint8_t pixelBits, descriptor;

    bool colorMapped() const { return (imageType & 7) == 1; }
    bool grey() const { return (imageType & 7) == 3; }
    bool runLength() const { return imageType & 8; }
    int alphaBits() const { return descriptor & 15; }
    bool rightToLeft() const { return descriptor & 0x10; }
    bool topDown() const { return descriptor & 0x20; }
};

TgaHeader readHeader(ByteReader& in) {
    TgaHeader h;
    h.idBytes = in.u8(), h.mapType = in.u8(), h.imageType = in.u8();
    h.mapFirst = in.u16(), h.mapLength = in.u16(), h.mapEntryBits = in.u8();
    in.skip(4);  // the screen position, of no use here
    h.width = in.u16(), h.height = in.u16();
    h.pixelBits = in.u8(), h.descriptor = in.u8();
    return h;
}

bool isColorBits(int bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

// Without a signature, every field must make sense before the data counts as TGA; anything else
// is "not this format", so that foreign data is not reported as a broken TGA.
bool isPlausible(const TgaHeader& h) {
    const int base = h.imageType & 7;
    const bool typeOk = (h.imageType & ~8) == base && base >= 1 && base <= 3;
    const bool mapOk = h.mapType == 0 || (h.mapType == 1 && isColorBits(h.mapEntryBits));
    bool pixelsOk = isColorBits(h.pixelBits);
    if (h.colorMapped()) pixelsOk = h.mapType == 1 && (h.pixelBits == 8 || h.pixelBits == 16);
    if (h.grey()) pixelsOk = h.pixelBits == 8 || h.pixelBits == 16;
    // The top two descriptor bits asked for interleaved rows, which no writer makes.
    return typeOk && mapOk && pixelsOk && (h.descriptor & 0xC0) == 0 && h.width > 0 && h.height > 0;
}

// A truecolour value of 15, 16, 24 or 32 bits (stored B, G, R, then alpha) as RGBA; alpha only
// when the file says the attribute bit or byte holds it.
Rgba truecolour(const uint8_t* p, int bits, bool alpha) {
    if (bits <= 16) {
        static const std::vector<uint8_t> fiveBits = byteScaleTable(31);
        const unsigned v = p[0] | p[1] << 8;
        const bool opaque = !alpha || bits == 15 || v >> 15;
        return {fiveBits[v >> 10 & 31], fiveBits[v >> 5 & 31], fiveBits[v & 31],
                uint8_t(opaque ? 255 : 0)};
    }
    return {p[2], p[1], p[0], bits == 32 && alpha ? p[3] : uint8_t(255)};
}

// Turns the file's pixels, as stored, into RGBA.
class PixelFormat {
public:
    PixelFormat(const TgaHeader& h, const uint8_t* map)
        : bits_(h.pixelBits), grey_(h.grey()), colorMapped_(h.colorMapped()), mapFirst_(h.mapFirst) {
        const int sourceBits = colorMapped_ ? h.mapEntryBits : bits_;
        alpha_ = h.alphaBits() > 0 && (sourceBits == 16 || sourceBits == 32);
        if (!colorMapped_) return;
        const size_t entryBytes = size_t(h.mapEntryBits + 7) / 8;
        for (size_t i = 0; i < h.mapLength; ++i)
            map_.push_back(truecolour(map + i * entryBytes, h.mapEntryBits, alpha_));
    }

    bool hasAlpha() const { return alpha_; }
    size_t bytes() const { return size_t(bits_ + 7) / 8; }

    Rgba operator()(const uint8_t* p) const {
        if (colorMapped_) {
            // Indices outside the map give black.
            const unsigned index = bits_ == 8 ? p[0] : unsigned(p[0] | p[1] << 8);
            const size_t entry = size_t(index) - mapFirst_;
            return index >= mapFirst_ && entry < map_.size() ? map_[entry] : Rgba{0, 0, 0, 255};
        }
        if (grey_) return {p[0], p[0], p[0], bits_ == 16 && alpha_ ? p[1] : uint8_t(255)};
        return truecolour(p, bits_, alpha_);
    }

private:
    int bits_;
    bool grey_, colorMapped_, alpha_ = false;
    unsigned mapFirst_;
    std::vector<Rgba> map_;
};

// Puts the pixels, in the order the file stores them, where they belong from the image's origin.
class OriginWalk {
public:
    OriginWalk(uint8_t* pixels, int64_t rowBytes, const TgaHeader& h)
        : pixels_(pixels),
          rowBytes_(rowBytes),
          width_(h.width),
          height_(h.height),
          topDown_(h.topDown()),
          rightToLeft_(h.rightToLeft()) {}

    bool done() const { return row_ == height_; }
    void put(const Rgba& pixel) {
        const int64_t y = topDown_ ? row_ : height_ - 1 - row_;
        const int64_t x = rightToLeft_ ? width_ - 1 - column_ : column_;
        std::memcpy(pixels_ + y * rowBytes_ + 4 * x, pixel.data(), 4);
        if (++column_ == width_) column_ = 0, ++row_;
    }

private:
    uint8_t* pixels_;
    int64_t rowBytes_, width_, height_;
    bool topDown_, rightToLeft_;
    int64_t row_ = 0, column_ = 0;
};

// Packets hold 1 to 128 pixels: a header byte, then one pixel repeated (high bit set) or that many
// pixels as they are. Packets may run on from one row into the next.
void decodeRunLength(ByteReader& in, const PixelFormat& format, OriginWalk& walk) {
    while (!walk.done()) {
        const unsigned packet = in.u8();
        const unsigned count = (packet & 127) + 1;
        if (packet & 128) {
            const Rgba pixel = format(in.take(format.bytes()));
            for (unsigned i = 0; i < count && !walk.done(); ++i) walk.put(pixel);
        } else {
            for (unsigned i = 0; i < count && !walk.done(); ++i)
                walk.put(format(in.take(format.bytes())));
        }
    }
}

}  // namespace

ImageSourceFileTga::ImageSourceFileTga(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    ByteReader in(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "TGA");
    if (in.size() < HEADER_BYTES) throw ImageIoNotThisFormatExc("not a TGA file");
    const TgaHeader header = readHeader(in);
    if (!isPlausible(header)) throw ImageIoNotThisFormatExc("not a TGA file");
    if (!withinImageLimits(header.width, header.height))
        in.fail(ImageTooLargeExc(header.width, header.height).what());
    in.skip(header.idBytes);
    const uint8_t* map = header.mapType == 1
                             ? in.take(size_t(header.mapLength) * ((header.mapEntryBits + 7) / 8))
                             : nullptr;
    const PixelFormat format(header, map);

    // Refused before allocating when the data could not fill the image: a run-length packet of
    // 1 + pixel bytes gives at most 128 pixels.
    const int64_t pixels = int64_t(header.width) * header.height;
    const int64_t pixelBytes = int64_t(format.bytes());
    const int64_t available = int64_t(in.remaining());
    if (header.runLength() ? pixels > available / (1 + pixelBytes) * 128
                           : pixels * pixelBytes > available)
        in.failTruncated();

    allocatePixels(header.width, header.height, RGB, UINT8, format.hasAlpha() ? RGBA : RGBX);
    OriginWalk walk(getPixels(), getRowBytes(), header);
    if (header.runLength()) {
        decodeRunLength(in, format, walk);
    } else {
        const uint8_t* stored = in.take(size_t(pixels * pixelBytes));
        for (int64_t i = 0; i < pixels; ++i) walk.put(format(stored + i * pixelBytes));
    }
    if (format.hasAlpha()) treatAllZeroAlphaAsOpaque();
}

ImageSourceRef ImageSourceFileTga::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileTga>(std::move(dataSource), options);
}

}  // namespace loom
