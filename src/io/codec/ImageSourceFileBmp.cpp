#include "io/codec/ImageSourceFileBmp.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"
#include "io/codec/SampleScale.h"

namespace loom {

namespace {

enum Compression : uint32_t {
    BI_RGB = 0,
    BI_RLE8 = 1,
    BI_RLE4 = 2,
    BI_BITFIELDS = 3,
    BI_ALPHABITFIELDS = 6
};

constexpr size_t FILE_HEADER_BYTES = 14;
constexpr uint32_t OS2_V1_HEADER_BYTES = 12;

using Rgba = std::array<uint8_t, 4>;

struct BmpLayout {
    int64_t width = 0, height = 0;
    bool topDown = false;
    uint32_t bits = 0;
    uint32_t compression = BI_RGB;
    std::array<uint32_t, 4> masks = {};  // red, green, blue, alpha; for 16, 24 and 32 bits
    // 256 entries for palette images: those the file does not hold are opaque black, so that any
    // index a pixel may carry gives a colour.
    std::vector<Rgba> palette;
    size_t paletteEntries = 0;  // of those, the entries the file holds
    size_t pixelOffset = 0;
};

// OS/2 2.x headers may stop after any field; 40, 52 and 56 bytes are Windows headers, laid out
// alike up to 40 bytes.
bool isOs2V2Header(uint32_t bytes) {
    return bytes >= 16 && bytes <= 64 && bytes != 40 && bytes != 52 && bytes != 56;
}

bool isWindowsHeader(uint32_t bytes) {
    return bytes == 40 || bytes == 52 || bytes == 56 || bytes == 108 || bytes == 124;
}

bool isOneOf(uint32_t value, std::initializer_list<uint32_t> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

// Why a compression and bit depth cannot be read; empty when they can.
std::string compressionProblem(uint32_t compression, uint32_t bits, bool os2) {
    const std::string depth = "unsupported bit depth " + std::to_string(bits);
    const std::string forCompression = depth + " for compression " + std::to_string(compression);
    switch (compression) {
        case BI_RGB: return isOneOf(bits, {1, 2, 4, 8, 16, 24, 32}) ? "" : depth;
        case BI_RLE8: return bits == 8 ? "" : forCompression;
        case BI_RLE4: return bits == 4 ? "" : forCompression;
        case BI_BITFIELDS:
            if (os2) return "OS/2 Huffman compression is not supported";
            return isOneOf(bits, {16, 24, 32}) ? "" : forCompression;
        case BI_ALPHABITFIELDS:
            if (os2) break;
            return isOneOf(bits, {16, 24, 32}) ? "" : forCompression;
        case 4:
            return os2 ? "OS/2 RLE24 compression is not supported"
                       : "embedded JPEG data is not supported";
        case 5:
            if (os2) break;
            return "embedded PNG data is not supported";
        default: break;
    }
    return "unknown compression " + std::to_string(compression);
}

// The layout of pixels that carry no masks: 5-5-5 for 16 bits, bytes B, G, R for 24, and B, G, R
// and a fourth byte for 32. Writers that use that byte put alpha there; the others leave it zero,
// which the all-zero alpha rule turns back into an opaque picture.
std::array<uint32_t, 4> defaultMasks(uint32_t bits) {
    if (bits == 16) return {0x7C00, 0x03E0, 0x001F, 0};
    return {0xFF0000, 0x00FF00, 0x0000FF, bits == 32 ? 0xFF000000u : 0u};
}

// The palette's entries the file holds.
size_t paletteEntries(size_t start, size_t pixelOffset, uint32_t bits, uint32_t colorsUsed,
                      size_t entryBytes) {
    const size_t slots = size_t(1) << bits;
    // OS/2 1.x files give no count: the palette fills the room before the pixels, as in Windows
    // files whose count is missing or larger than that room.
    const size_t entries = colorsUsed > 0 && colorsUsed < slots ? colorsUsed : slots;
    return std::min(entries, (pixelOffset - start) / entryBytes);
}

std::vector<Rgba> readPalette(ByteReader& in, size_t start, size_t entries, size_t entryBytes) {
    in.seek(start);
    const uint8_t* bgr = in.take(entries * entryBytes);
    std::vector<Rgba> palette(256, Rgba{0, 0, 0, 255});
    for (size_t i = 0; i < entries; ++i, bgr += entryBytes) palette[i] = {bgr[2], bgr[1], bgr[0], 255};
    return palette;
}

BmpLayout readLayout(ByteReader& in) {
    BmpLayout l;
    in.seek(10);
    l.pixelOffset = in.u32();
    const uint32_t headerBytes = in.u32();
    const bool os2v1 = headerBytes == OS2_V1_HEADER_BYTES;
    const bool os2v2 = isOs2V2Header(headerBytes);
    if (!os2v1 && !os2v2 && !isWindowsHeader(headerBytes))
        in.fail("unknown header size " + std::to_string(headerBytes));
    in.seek(FILE_HEADER_BYTES);
    ByteReader header(in.take(headerBytes), headerBytes, "BMP");
    // Offsets count from the header's start; fields a short OS/2 2.x header leaves out are zero.
    auto field = [&](size_t at, size_t bytes) -> uint32_t {
        if (at + bytes > headerBytes) return 0;
        header.seek(at);
        return bytes == 2 ? header.u16() : header.u32();
    };
    uint32_t colorsUsed = 0;
    if (os2v1) {
        l.width = field(4, 2), l.height = field(6, 2), l.bits = field(10, 2);
    } else {
        l.width = int32_t(field(4, 4));
        const int64_t height = int32_t(field(8, 4));
        l.topDown = height < 0;
        l.height = l.topDown ? -height : height;
        l.bits = field(14, 2);
        l.compression = field(16, 4);
        colorsUsed = field(32, 4);
    }
    if (l.width < 0) in.fail("bad width " + std::to_string(l.width));
    const std::string problem = compressionProblem(l.compression, l.bits, os2v2);
    if (!problem.empty()) in.fail(problem);

    size_t paletteStart = FILE_HEADER_BYTES + headerBytes;
    if (l.compression == BI_BITFIELDS || l.compression == BI_ALPHABITFIELDS) {
        if (headerBytes >= 52) {
            l.masks = {field(40, 4), field(44, 4), field(48, 4), field(52, 4)};
        } else {  // after the header
            const size_t count = l.compression == BI_ALPHABITFIELDS ? 4 : 3;
            for (size_t i = 0; i < count; ++i) l.masks[i] = in.u32();
            paletteStart += 4 * count;
        }
    }
    if (l.bits > 8 && (l.masks[0] | l.masks[1] | l.masks[2]) == 0) l.masks = defaultMasks(l.bits);
    if (l.pixelOffset < paletteStart) in.fail("bad pixel data offset " + std::to_string(l.pixelOffset));
    if (l.bits <= 8) {
        const size_t entryBytes = os2v1 ? 3 : 4;
        l.paletteEntries = paletteEntries(paletteStart, l.pixelOffset, l.bits, colorsUsed, entryBytes);
        l.palette = readPalette(in, paletteStart, l.paletteEntries, entryBytes);
    }
    return l;
}

// One channel of a bit-field pixel: the masked bits moved down and scaled to 0..255. A mask need
// not be 8 bits wide nor contiguous; a zero mask reads as 0.
class BitField {
public:
    explicit BitField(uint32_t mask) : mask_(mask) {
        while (mask_ && !(mask_ >> shift_ & 1)) ++shift_;
        max_ = mask_ >> shift_;
        if (max_ > 0 && max_ < 256) table_ = byteScaleTable(max_);
    }
    uint8_t operator()(uint32_t pixel) const {
        const uint32_t v = (pixel & mask_) >> shift_;
        if (!table_.empty()) return table_[v];
        return max_ ? scaleToByte(v, max_) : 0;
    }

private:
    uint32_t mask_;
    int shift_ = 0;
    uint32_t max_ = 0;
    std::vector<uint8_t> table_;  // for masks of up to 8 bits, the common case
};

// Where the decoded rows go: RGBA pixels, the file's rows in the order it stores them.
struct Canvas {
    uint8_t* pixels;
    int64_t rowBytes;
    int64_t width, height;
    bool topDown;

    uint8_t* fileRow(int64_t y) const { return pixels + (topDown ? y : height - 1 - y) * rowBytes; }
};

void decodeIndexedRow(const uint8_t* in, uint8_t* out, int64_t width, uint32_t bits,
                      const std::vector<Rgba>& palette) {
    const unsigned indexMask = (1u << bits) - 1;
    for (int64_t x = 0; x < width; ++x, out += 4) {
        const uint64_t bit = uint64_t(x) * bits;  // pixels fill each byte from its high bits
        const unsigned index = in[bit >> 3] >> (8 - bits - (bit & 7)) & indexMask;
        std::memcpy(out, palette[index].data(), 4);
    }
}

void decodeBitFieldRow(const uint8_t* in, uint8_t* out, int64_t width, uint32_t bits,
                       const std::array<BitField, 4>& fields, bool alpha) {
    const uint32_t bytes = bits / 8;
    for (int64_t x = 0; x < width; ++x, in += bytes, out += 4) {
        uint32_t pixel = 0;
        for (uint32_t b = 0; b < bytes; ++b) pixel |= uint32_t(in[b]) << (8 * b);
        out[0] = fields[0](pixel), out[1] = fields[1](pixel), out[2] = fields[2](pixel);
        out[3] = alpha ? fields[3](pixel) : 255;
    }
}

void decodeRows(ByteReader& in, const BmpLayout& l, const Canvas& canvas) {
    const int64_t stride = (l.width * l.bits + 31) / 32 * 4;  // rows end on a 4-byte boundary
    const size_t usedBytes = size_t((l.width * l.bits + 7) / 8);
    const std::array<BitField, 4> fields = {BitField(l.masks[0]), BitField(l.masks[1]),
                                            BitField(l.masks[2]), BitField(l.masks[3])};
    for (int64_t y = 0; y < l.height; ++y) {
        in.seek(l.pixelOffset + size_t(y * stride));
        const uint8_t* row = in.take(usedBytes);
        if (l.bits <= 8)
            decodeIndexedRow(row, canvas.fileRow(y), l.width, l.bits, l.palette);
        else
            decodeBitFieldRow(row, canvas.fileRow(y), l.width, l.bits, fields, l.masks[3] != 0);
    }
}

// Draws RLE8 or RLE4 data onto a transparent canvas; true when every pixel was drawn. Runs past
// the row's end are clipped; the cursor only moves forward, so no pixel is drawn twice.
bool decodeRle(ByteReader& in, const BmpLayout& l, const Canvas& canvas) {
    const bool rle4 = l.compression == BI_RLE4;
    int64_t x = 0, y = 0, drawn = 0;
    auto draw = [&](int64_t at, unsigned index) {
        if (at >= l.width) return;
        std::memcpy(canvas.fileRow(y) + 4 * at, l.palette[index].data(), 4);
        ++drawn;
    };
    in.seek(l.pixelOffset);
    while (y < l.height) {
        // The last row drawn in full needs no end mark.
        if (in.atEnd() && y == l.height - 1 && x >= l.width) break;
        const unsigned count = in.u8(), value = in.u8();
        if (count > 0) {  // a run: one index, or two alternating ones for RLE4
            for (unsigned i = 0; i < count; ++i)
                draw(x + i, rle4 ? (i % 2 ? value & 15 : value >> 4) : value);
            x += count;
        } else if (value == 0) {  // end of line
            x = 0, ++y;
        } else if (value == 1) {  // end of the picture
            break;
        } else if (value == 2) {  // delta: move right and down
            x += in.u8();
            y += in.u8();
        } else {  // `value` indices as they are, padded to a 16-bit boundary
            const size_t bytes = rle4 ? (value + 1) / 2 : value;
            const uint8_t* indices = in.take(bytes);
            for (unsigned i = 0; i < value; ++i)
                draw(x + i, rle4 ? (i % 2 ? indices[i / 2] & 15 : indices[i / 2] >> 4) : indices[i]);
            x += value;
            in.skip(bytes % 2);
        }
    }
    return drawn == l.width * l.height;
}

// A header may declare far more pixels than the file holds; refused before allocating.
void refuseUnfillable(const ByteReader& in, const BmpLayout& l) {
    if (l.pixelOffset > in.size()) in.failTruncated();
    const int64_t available = int64_t(in.size() - l.pixelOffset);
    if (l.compression == BI_RLE8 || l.compression == BI_RLE4) {
        // Two bytes draw at most 255 pixels.
        if (l.width * l.height > available / 2 * 255) in.failTruncated();
        return;
    }
    const int64_t stride = (l.width * l.bits + 31) / 32 * 4;
    if (l.height > 0 && stride * (l.height - 1) + (l.width * l.bits + 7) / 8 > available)
        in.failTruncated();
}

}  // namespace

ImageSourceFileBmp::ImageSourceFileBmp(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = requireSignature(dataSource, "BM", 2, "BMP");
    ByteReader in(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "BMP");
    const BmpLayout layout = readLayout(in);
    if (!withinImageLimits(layout.width, layout.height))
        in.fail(ImageTooLargeExc(layout.width, layout.height).what());
    refuseUnfillable(in, layout);
    const bool rle = layout.compression == BI_RLE8 || layout.compression == BI_RLE4;
    const bool alpha = rle || layout.masks[3] != 0;
    allocatePixels(layout.width, layout.height, RGB, UINT8, alpha ? RGBA : RGBX);
    setPalette(Palette(layout.palette.begin(), layout.palette.begin() + long(layout.paletteEntries)));
    const Canvas canvas{getPixels(), getRowBytes(), layout.width, layout.height, layout.topDown};
    if (rle) {
        std::memset(getPixels(), 0, size_t(getRowBytes()) * size_t(getHeight()));
        if (decodeRle(in, layout, canvas)) setSampleOrder(RGBX);
    } else {
        decodeRows(in, layout, canvas);
        if (alpha) treatAllZeroAlphaAsOpaque();
    }
}

ImageSourceRef ImageSourceFileBmp::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileBmp>(std::move(dataSource), options);
}

}  // namespace loom
