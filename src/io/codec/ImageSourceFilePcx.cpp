#include "io/codec/ImageSourceFilePcx.h"

#include <cstring>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"

namespace loom {

namespace {

constexpr size_t HEADER_BYTES = 128;
constexpr size_t VGA_PALETTE_BYTES = 769;    // the 0x0C marker and 256 RGB triples
constexpr int64_t MOST_BYTES_PER_BYTE = 32;  // a two-byte run gives at most 63

// The header fields that tell this format from others; the rest is checked once it is known.
bool looksLikePcx(ByteReader header) {
    const int marker = header.u8(), version = header.u8(), encoding = header.u8(), bits = header.u8();
    return marker == 0x0A && (version == 0 || (version >= 2 && version <= 5)) && encoding <= 1 &&
           (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

// The encoded lines one after another; runs may cross from one line into the next. Data ending
// first fails in the reader: "PCX: truncated data".
class LineReader {
public:
    LineReader(ByteReader data, bool runLength) : data_(data), runLength_(runLength) {}

    void read(uint8_t* line, size_t bytes) {
        for (size_t i = 0; i < bytes;) {
            if (repeat_ == 0) {
                const uint8_t byte = data_.u8();
                if (runLength_ && byte >= 0xC0) {
                    repeat_ = byte & 0x3F, value_ = data_.u8();
                    continue;
                }
                line[i++] = byte;
                continue;
            }
            line[i++] = value_, --repeat_;
        }
    }

private:
    ByteReader data_;
    bool runLength_;
    int repeat_ = 0;
    uint8_t value_ = 0;
};

}  // namespace

ImageSourceFilePcx::ImageSourceFilePcx(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = dataSource->getBuffer();
    ByteReader file(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "PCX");
    if (file.size() < HEADER_BYTES) throw ImageIoNotThisFormatExc("not a PCX file");
    ByteReader header = file.sub(HEADER_BYTES);
    if (!looksLikePcx(header)) throw ImageIoNotThisFormatExc("not a PCX file");
    header.seek(2);
    const bool runLength = header.u8() == 1;
    const int bits = header.u8();
    const int64_t xMin = header.u16(), yMin = header.u16(), xMax = header.u16(), yMax = header.u16();
    header.seek(16);
    const uint8_t* egaPalette = header.take(48);
    header.skip(1);
    const int planes = header.u8();
    const int64_t planeBytes = header.u16();
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
    size_t imageBytes = file.remaining();
    if (indexed256) {
        ByteReader tail = file;
        if (imageBytes >= VGA_PALETTE_BYTES) tail.skip(imageBytes - VGA_PALETTE_BYTES);
        const bool hasPalette = tail.remaining() == VGA_PALETTE_BYTES && tail.u8() == 0x0C;
        if (hasPalette) imageBytes -= VGA_PALETTE_BYTES, tableEntries = 256;
        const uint8_t* table = hasPalette ? tail.take(256 * 3) : nullptr;
        for (int i = 0; i < 256; ++i)
            for (int c = 0; c < 3; ++c) palette[i][c] = table ? table[i * 3 + c] : uint8_t(i);
    } else if (mono) {
        std::memset(palette[0], 0, 3), std::memset(palette[1], 255, 3);
        tableEntries = 2;
    } else if (!trueColour) {
        std::memcpy(palette, egaPalette, 48);
        tableEntries = 16;
    }

    const int64_t lineBytes = planeBytes * planes;
    requireFillable(uint64_t(lineBytes * height), int64_t(imageBytes),
                    runLength ? MOST_BYTES_PER_BYTE : 1, "PCX");
    allocatePixels(width, height, RGB, UINT8, RGBX);
    Palette table;
    for (int i = 0; i < tableEntries; ++i)
        table.push_back({palette[i][0], palette[i][1], palette[i][2], 255});
    setPalette(std::move(table));

    LineReader reader(file.sub(imageBytes), runLength);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    const uint8_t* plane = line.data();
    for (int32_t y = 0; y < getHeight(); ++y) {
        reader.read(line.data(), line.size());
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
