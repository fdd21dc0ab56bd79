#include "io/codec/ImageSourceFileIco.h"

#include <cstring>
#include <optional>
#include <tuple>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/BlockTarget.h"
#include "io/codec/ImageSourceFilePng.h"

namespace loom {

namespace {

constexpr size_t DIRECTORY_HEADER_BYTES = 6, ENTRY_BYTES = 16, BITMAP_HEADER_BYTES = 40;
constexpr size_t PNG_HEADER_END = 33;  // signature, then the IHDR chunk
const uint8_t PNG_SIGNATURE[8] = {137, 'P', 'N', 'G', '\r', '\n', 26, '\n'};

// One picture of the directory, described by its own header rather than by the directory's
// fields, which writers often leave at zero.
struct Entry {
    ByteReader picture;
    uint64_t pixels = 0;
    int bitsPerPixel = 0;
    bool png = false;
};

// The picture a directory entry points at and what it is; nothing when it lies outside the file
// or is neither a PNG nor a bitmap header.
std::optional<Entry> describeEntry(ByteReader file, ByteReader field) {
    field.skip(8);
    const size_t size = field.u32(), offset = field.u32();
    if (offset > file.size() || size > file.size() - offset || size < 8) return std::nullopt;
    file.seek(offset);
    Entry entry{file.sub(size)};
    ByteReader header = entry.picture;
    entry.png = std::memcmp(header.take(8), PNG_SIGNATURE, 8) == 0;
    if (entry.png) {
        if (size < PNG_HEADER_END) return std::nullopt;
        static const int channels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type
        header.seek(16);
        const uint64_t width = header.u32be();
        entry.pixels = width * header.u32be();
        const int depth = header.u8(), colourType = header.u8();
        entry.bitsPerPixel = colourType < 7 ? depth * channels[colourType] : 0;
        return entry;
    }
    header.seek(0);
    if (size < BITMAP_HEADER_BYTES || header.u32() < BITMAP_HEADER_BYTES) return std::nullopt;
    const int64_t width = int32_t(header.u32());
    const int64_t height = int32_t(header.u32()) / 2;  // the mask's rows too
    if (width <= 0 || height <= 0) return std::nullopt;
    header.skip(2);  // planes
    entry.pixels = uint64_t(width * height);
    entry.bitsPerPixel = header.u16();
    return entry;
}

}  // namespace

ImageSourceFileIco::ImageSourceFileIco(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    ByteReader file(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "ICO");
    if (file.size() < DIRECTORY_HEADER_BYTES) throw ImageIoNotThisFormatExc("not an ICO or CUR file");
    const int reserved = file.u16(), type = file.u16(), count = file.u16();
    if (reserved != 0 || (type != 1 && type != 2) || count == 0)
        throw ImageIoNotThisFormatExc("not an ICO or CUR file");
    format_ = type == 1 ? "ICO" : "CUR";
    file = ByteReader(file.data(), file.size(), format_.c_str());
    file.seek(DIRECTORY_HEADER_BYTES);
    if (file.remaining() < ENTRY_BYTES * size_t(count))
        throw ImageIoFailedLoadExc(format_ + ": truncated directory");

    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const std::optional<Entry> entry = describeEntry(file, file.sub(ENTRY_BYTES));
        if (!entry)
            throw ImageIoFailedLoadExc(format_ + ": bad directory entry " + std::to_string(i + 1));
        entries.push_back(*entry);
    }
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
        decodePng(chosen.picture);
    else
        decodeBitmap(chosen.picture);
    describeTransparency();
}

void ImageSourceFileIco::decodePng(const ByteReader& picture) {
    try {
        auto png = std::make_shared<ImageSourceFilePng>(
            makeBufferSource(Buffer(const_cast<uint8_t*>(picture.data()), int32_t(picture.size()))),
            Options());
        allocatePixels(png->getWidth(), png->getHeight(), RGB, UINT8, RGBA);
        // Pictures without alpha leave it unwritten: opaque.
        std::memset(getPixels(), 255, size_t(getRowBytes()) * size_t(getHeight()));
        png->load(std::make_shared<BlockTarget>(getPixels(), getWidth(), getHeight(), getRowBytes()));
    } catch (const ImageIoExc& e) {
        throw ImageIoFailedLoadExc(format_ + ": " + e.what());
    }
}

void ImageSourceFileIco::decodeBitmap(ByteReader picture) {
    const size_t headerBytes = picture.u32();
    const int64_t width = int32_t(picture.u32());
    const int64_t height = int32_t(picture.u32()) / 2;
    picture.skip(2);  // planes
    const int bits = picture.u16();
    const uint32_t compression = picture.u32();
    picture.seek(32);
    const uint32_t declaredColours = picture.u32();
    if (compression != 0) throw ImageIoFailedLoadExc(format_ + ": unsupported compression");
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
        throw ImageIoFailedLoadExc(format_ + ": unsupported bit depth " + std::to_string(bits));
    const size_t colours = bits <= 8 && declaredColours == 0 ? size_t(1) << bits : declaredColours;
    if (colours > 256) throw ImageIoFailedLoadExc(format_ + ": bad palette size");

    // Rows are stored bottom-up, each padded to 4 bytes: the picture, then the mask.
    const int64_t stride = (width * bits + 31) / 32 * 4, maskStride = (width + 31) / 32 * 4;
    const size_t pixelsAt = headerBytes + colours * 4;
    const int64_t available = pixelsAt > picture.size() ? 0 : int64_t(picture.size() - pixelsAt);
    if (pixelsAt > picture.size() || stride > available || height > available / stride)
        throw ImageIoFailedLoadExc(format_ + ": truncated data");
    picture.seek(headerBytes);
    const uint8_t* palette = picture.take(colours * 4);
    ByteReader rows = picture.sub(size_t(stride * height));
    std::optional<ByteReader> mask;
    if (maskStride * height <= int64_t(picture.remaining()))
        mask = picture.sub(size_t(maskStride * height));
    allocatePixels(width, height, RGB, UINT8, RGBA);

    bool ownAlpha = false;
    for (int32_t y = 0; y < getHeight(); ++y) {
        rows.seek(size_t((height - 1 - y) * stride));
        const uint8_t* in = rows.take(size_t(stride));
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
        const uint8_t* in = nullptr;
        if (mask) {
            mask->seek(size_t((height - 1 - y) * maskStride));
            in = mask->take(size_t(maskStride));
        }
        uint8_t* out = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x)
            out[size_t(x) * 4 + 3] = in && (in[x / 8] >> (7 - x % 8) & 1) ? 0 : 255;
    }
}

ImageSourceRef ImageSourceFileIco::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileIco>(std::move(dataSource), options);
}

}  // namespace loom
