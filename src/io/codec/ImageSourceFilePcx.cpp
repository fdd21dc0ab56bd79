#include "io/codec/ImageSourceFilePcx.h"

#include <cstring>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"

namespace loom {

namespace {

constexpr size_t HEADER_BYTES = 128;
constexpr size_t VGA_PALETTE_BYTES = 769;    // the 0x0C marker and 256 RGB triples
constexpr int64_t MOST_BYTES_PER_BYTE = 32;  // a two-byte run gives at most 63

// The header fields that tell this format from others; the rest is checked once it is known.
bool looksLikePcx(const uint8_t* d, size_t size) {
    if (size < HEADER_BYTES || d[0] != 0x0A) return false;
    const int version = d[1], encoding = d[2], bits = d[3];
    return (version == 0 || (version >= 2 && version <= 5)) && encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// The encoded lines one after another; runs may cross from one line into the next.
class LineReader {
public:
    LineReader(const uint8_t* data, const uint8_t* end, bool runLength)
        : data_(data), end_(end), runLength_(runLength) {}

    // False when the data ends first.
    bool read(uint8_t* line, size_t bytes) {
        for (size_t i = 0; i < bytes;) {
            if (repeat_ == 0) {
                if (data_ >= end_) return false;
                const uint8_t byte = *data_++;
                if (runLength_ && byte >= 0xC0) {
                    if (data_ >= end_) return false;
                    repeat_ = byte & 0x3F, value_ = *data_++;
                    continue;
                }
                line[i++] = byte;
                continue;
            }
            line[i++] = value_, --repeat_;
        }
        return true;
    }

private:
    const uint8_t* data_;
    const uint8_t* end_;
    bool runLength_;
    int repeat_ = 0;
    uint8_t value_ = 0;
};

}  // namespace

ImageSourceFilePcx::ImageSourceFilePcx(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    if (!looksLikePcx(data, size)) throw ImageIoNotThisFormatExc("not a PCX file");
    const int bits = data[3], planes = data[65];
    const int64_t xMin = littleEndian16(data + 4), yMin = littleEndian16(data + 6);
    const int64_t xMax = littleEndian16(data + 8), yMax = littleEndian16(data + 10);
    const int64_t planeBytes = littleEndian16(data + 66);
    const int64_t width = xMax - xMin + 1, height = yMax - yMin + 1;
    if (width <= 0 || height <= 0 || planeBytes * 8 < width * bits)
        throw ImageIoFailedLoadExc("PCX: bad header");
    const bool mono = bits == 1 && planes == 1;
    const bool planar16 = bits == 1 && planes == 4;
    const bool packed16 = bits == 4 && planes == 1;
    const bool indexed256 = bits == 8 && planes == 1;
    const bool trueColour = bits == 8 && planes == 3;
    if (!mono && !planar16 && !packed16 && !indexed256 && !trueColour)
        throw ImageIoFailedLoadExc("PCX: unsupported layout (" + std::to_string(planes) + " planes of " +
                                   std::to_string(bits) + " bits)");

    uint8_t palette[256][3];
    int tableEntries = 0;  // of those, the colour table the file gives
    const uint8_t* dataEnd = data + size;
    if (indexed256) {
        const bool hasPalette =
            size >= HEADER_BYTES + VGA_PALETTE_BYTES && data[size - VGA_PALETTE_BYTES] == 0x0C;
        if (hasPalette) dataEnd -= VGA_PALETTE_BYTES, tableEntries = 256;
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) palette[i][c] = hasPalette ? dataEnd[1 + i * 3 + c] : uint8_t(i);
    } else if (mono) {
        std::memset(palette[0], 0, 3), std::memset(palette[1], 255, 3);
        tableEntries = 2;
    } else if (!trueColour) {
        std::memcpy(palette, data + 16, 48);
        tableEntries = 16;
    }

    const bool runLength = data[2] == 1;
    const int64_t lineBytes = planeBytes * planes;
    requireFillable(uint64_t(lineBytes * height), dataEnd - (data + HEADER_BYTES),
                    runLength ? MOST_BYTES_PER_BYTE : 1, "PCX");
    allocatePixels(width, height, RGB, UINT8, RGBX);
    Palette table;
    for (int i = 0; i < tableEntries; ++i)
        table.push_back({palette[i][0], palette[i][1], palette[i][2], 255});
    setPalette(std::move(table));

    LineReader reader(data + HEADER_BYTES, dataEnd, runLength);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    const uint8_t* plane = line.data();
    for (int32_t y = 0; y < getHeight(); ++y) {
        if (!reader.read(line.data(), line.size())) throw ImageIoFailedLoadExc("PCX: truncated data");
        uint8_t* out = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x, out += 4) {
            out[3] = 255;
            if (trueColour) {
                for (int c = 0; c < 3; ++c) out[c] = plane[c * planeBytes + x];
                continue;
            }
            int index = 0;
            if (indexed256)
                index = plane[x];
            else if (packed16)
                index = plane[x / 2] >> (x % 2 ? 0 : 4) & 15;
            else
                for (int p = 0; p < planes; ++p)
                    index |= (plane[p * planeBytes + x / 8] >> (7 - x % 8) & 1) << p;
            std::memcpy(out, palette[index], 3);
        }
    }
}

ImageSourceRef ImageSourceFilePcx::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFilePcx>(std::move(dataSource), options);
}

}  // namespace loom
