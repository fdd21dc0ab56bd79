#include "io/codec/ImageSourceFileIco.h"

#include <cstring>
#include <tuple>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/BlockTarget.h"
#include "io/codec/EndianBytes.h"
#include "io/codec/ImageSourceFilePng.h"

namespace loom {

namespace {

constexpr size_t DIRECTORY_HEADER_BYTES = 6, ENTRY_BYTES = 16, BITMAP_HEADER_BYTES = 40;
constexpr size_t PNG_HEADER_END = 33;  // signature, then the IHDR chunk
const uint8_t PNG_SIGNATURE[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};

// One picture of the directory, described by its own header rather than by the directory's
// fields, which writers often leave at zero.
struct Entry {
    const uint8_t* data;
    size_t size;
    uint64_t pixels;
    int bitsPerPixel;
    bool png;
};

// Where a directory entry's picture lies and what it is; false when it points outside the file or
// at something neither a PNG nor a bitmap header.
bool describeEntry(const uint8_t* file, size_t fileSize, const uint8_t* field, Entry& entry) {
    const size_t size = littleEndian32(field + 8), offset = littleEndian32(field + 12);
    if (offset > fileSize || size > fileSize - offset || size < 8) return false;
    entry.data = file + offset, entry.size = size;
    entry.png = std::memcmp(entry.data, PNG_SIGNATURE, 8) == 0;
    if (entry.png) {
        if (size < PNG_HEADER_END) return false;
        static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
        const int colourType = entry.data[25];
        entry.pixels = uint64_t(bigEndian32(entry.data + 16)) * bigEndian32(entry.data + 20);
        entry.bitsPerPixel = colourType < 7 ? entry.data[24] * channels[colourType] : 0;
        return true;
    }
    if (size < BITMAP_HEADER_BYTES || littleEndian32(entry.data) < BITMAP_HEADER_BYTES) return false;
    const int64_t width = int32_t(littleEndian32(entry.data + 4));
    const int64_t height = int32_t(littleEndian32(entry.data + 8)) / 2;  // the mask's rows too
    if (width <= 0 || height <= 0) return false;
    entry.pixels = uint64_t(width * height);
    entry.bitsPerPixel = littleEndian16(entry.data + 14);
    return true;
}

}  // namespace

ImageSourceFileIco::ImageSourceFileIco(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    const int type = size >= DIRECTORY_HEADER_BYTES ? littleEndian16(data + 2) : 0;
    const int count = size >= DIRECTORY_HEADER_BYTES ? littleEndian16(data + 4) : 0;
    if (size < DIRECTORY_HEADER_BYTES || littleEndian16(data) != 0 || (type != 1 && type != 2) ||
        count == 0)
        throw ImageIoNotThisFormatExc("not an ICO or CUR file");
    format_ = type == 1 ? "ICO" : "CUR";
    if (size < DIRECTORY_HEADER_BYTES + ENTRY_BYTES * size_t(count))
        throw ImageIoFailedLoadExc(format_ + ": truncated directory");

    std::vector<Entry> entries(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        if (!describeEntry(data, size, data + DIRECTORY_HEADER_BYTES + ENTRY_BYTES * size_t(i),
                           entries[size_t(i)]))
            throw ImageIoFailedLoadExc(format_ + ": bad directory entry " + std::to_string(i + 1));
    setPageCount(count);

    int32_t page = 0;
    if (options.page) {
        page = *options.page;
        if (page < 0 || page >= count)
            throw ImageIoFailedLoadExc(format_ + ": there is no picture " + std::to_string(page + 1) +
                                       ": the file holds " + std::to_string(count));
    } else {
        for (int32_t i = 1; i < count; ++i) {
            const Entry& e = entries[size_t(i)];
            const Entry& best = entries[size_t(page)];
            if (std::tie(e.pixels, e.bitsPerPixel) > std::tie(best.pixels, best.bitsPerPixel)) page = i;
        }
    }
    const Entry& chosen = entries[size_t(page)];
    if (chosen.png)
        decodePng(chosen.data, chosen.size);
    else
        decodeBitmap(chosen.data, chosen.size);
    describeTransparency();
}

void ImageSourceFileIco::decodePng(const uint8_t* data, size_t size) {
    try {
        auto png = std::make_shared<ImageSourceFilePng>(
            makeBufferSource(Buffer(const_cast<uint8_t*>(data), int32_t(size))), Options());
        allocatePixels(png->getWidth(), png->getHeight(), RGB, UINT8, RGBA);
        // Pictures without alpha leave it unwritten: opaque.
        std::memset(getPixels(), 255, size_t(getRowBytes()) * size_t(getHeight()));
        png->load(std::make_shared<BlockTarget>(getPixels(), getWidth(), getHeight(), getRowBytes()));
    } catch (const ImageIoExc& e) {
        throw ImageIoFailedLoadExc(format_ + ": " + e.what());
    }
}

void ImageSourceFileIco::decodeBitmap(const uint8_t* data, size_t size) {
    const size_t headerBytes = littleEndian32(data);
    const int64_t width = int32_t(littleEndian32(data + 4));
    const int64_t height = int32_t(littleEndian32(data + 8)) / 2;
    const int bits = littleEndian16(data + 14);
    const uint32_t compression = littleEndian32(data + 16);
    const uint32_t declaredColours = littleEndian32(data + 32);
    if (compression != 0) throw ImageIoFailedLoadExc(format_ + ": unsupported compression");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw ImageIoFailedLoadExc(format_ + ": unsupported bit depth " + std::to_string(bits));
    const size_t colours = bits <= 8 && declaredColours == 0 ? size_t(1) << bits : declaredColours;
    if (colours > 256) throw ImageIoFailedLoadExc(format_ + ": bad palette size");

    // Rows are stored bottom-up, each padded to 4 bytes: the picture, then the mask.
    const size_t pixelsAt = headerBytes + colours * 4;
    const int64_t stride = (width * bits + 31) / 32 * 4, maskStride = (width + 31) / 32 * 4;
    const int64_t available = pixelsAt > size ? 0 : int64_t(size - pixelsAt);
    if (pixelsAt > size || stride > available || height > available / stride)
        throw ImageIoFailedLoadExc(format_ + ": truncated data");
    const uint8_t* palette = data + headerBytes;
    const uint8_t* picture = data + pixelsAt;
    const uint8_t* mask = picture + stride * height;
    const bool hasMask = maskStride * height <= available - stride * height;
    allocatePixels(width, height, RGB, UINT8, RGBA);

    bool ownAlpha = false;
    for (int32_t y = 0; y < getHeight(); ++y) {
        const uint8_t* in = picture + (height - 1 - y) * stride;
        uint8_t* out = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x, out += 4) {
            const uint8_t* bgr;
            if (bits <= 8) {
                const int perByte = 8 / bits;
                const size_t index =
                    in[x / perByte] >> (bits * (perByte - 1 - x % perByte)) & ((1 << bits) - 1);
                static const uint8_t black[3] = {0, 0, 0};
                bgr = index < colours ? palette + index * 4 : black;
            } else {
                bgr = in + size_t(x) * size_t(bits / 8);
            }
            out[0] = bgr[2], out[1] = bgr[1], out[2] = bgr[0];
            out[3] = bits == 32 ? bgr[3] : 255;
            ownAlpha |= bits == 32 && bgr[3] != 0;
        }
    }
    if (ownAlpha) return;
    // Without a mask (some writers leave it out) the picture is opaque.
    for (int32_t y = 0; y < getHeight(); ++y) {
        const uint8_t* in = hasMask ? mask + (height - 1 - y) * maskStride : nullptr;
        uint8_t* out = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x)
            out[size_t(x) * 4 + 3] = hasMask && (in[x / 8] >> (7 - x % 8) & 1) ? 0 : 255;
    }
}

ImageSourceRef ImageSourceFileIco::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileIco>(std::move(dataSource), options);
}

}  // namespace loom
