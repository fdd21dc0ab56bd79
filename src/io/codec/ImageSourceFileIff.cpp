#include "io/codec/ImageSourceFileIff.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"

namespace loom {

namespace {

constexpr int64_t MOST_BYTES_PER_BYTE = 64;  // a two-byte ByteRun1 run gives at most 128
constexpr uint32_t CAMG_HAM = 0x800, CAMG_EXTRA_HALF_BRITE = 0x80;
enum Masking { NO_MASK = 0, MASK_PLANE = 1, TRANSPARENT_COLOUR = 2 };

struct Chunk {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// The chunks the picture needs; each cut to the bytes the file really holds.
struct Chunks {
    Chunk header, colours, body, viewMode;
};

Chunks findChunks(const uint8_t* data, size_t size) {
    // The FORM's own size is not trusted: its chunks are walked up to the end of the file.
    Chunks chunks;
    size_t at = 12;
    while (size - at >= 8) {
        const size_t declared = bigEndian32(data + at + 4);
        const Chunk chunk{data + at + 8, std::min(declared, size - at - 8)};
        if (std::memcmp(data + at, "BMHD", 4) == 0) chunks.header = chunk;
        if (std::memcmp(data + at, "CMAP", 4) == 0) chunks.colours = chunk;
        if (std::memcmp(data + at, "CAMG", 4) == 0) chunks.viewMode = chunk;
        if (std::memcmp(data + at, "BODY", 4) == 0) chunks.body = chunk;
        if (declared >= size - at - 8) break;
        at += 8 + declared + (declared & 1);  // chunks start at even offsets
    }
    return chunks;
}

// The rows one after another, plain or ByteRun1-compressed; runs may cross rows.
class RowReader {
public:
    RowReader(const Chunk& body, bool compressed)
        : data_(body.data), end_(body.data + body.size), compressed_(compressed) {}

    // False when the body ends first.
    bool read(uint8_t* row, size_t bytes) {
        for (size_t i = 0; i < bytes;) {
            if (literal_ == 0 && repeat_ == 0) {
                if (data_ >= end_) return false;
                if (!compressed_) {
                    row[i++] = *data_++;
                    continue;
                }
                const int8_t count = int8_t(*data_++);
                if (count >= 0) {
                    literal_ = count + 1;
                } else if (count != -128) {  // -128 is a no-op
                    if (data_ >= end_) return false;
                    repeat_ = 1 - count, value_ = *data_++;
                }
                continue;
            }
            if (literal_ > 0) {
                if (data_ >= end_) return false;
                row[i++] = *data_++, --literal_;
            } else {
                row[i++] = value_, --repeat_;
            }
        }
        return true;
    }

private:
    const uint8_t* data_;
    const uint8_t* end_;
    bool compressed_;
    int literal_ = 0, repeat_ = 0;
    uint8_t value_ = 0;
};

}  // namespace

ImageSourceFileIff::ImageSourceFileIff(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = requireSignature(dataSource, "FORM", 4, "IFF");
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    const bool chunky = size >= 12 && std::memcmp(data + 8, "PBM ", 4) == 0;
    if (size < 12 || (!chunky && std::memcmp(data + 8, "ILBM", 4) != 0))
        throw ImageIoNotThisFormatExc("not an IFF picture");
    const char* format = chunky ? "PBM" : "ILBM";
    auto failure = [&](const std::string& what) {
        return ImageIoFailedLoadExc(std::string(format) + ": " + what);
    };
    const Chunks chunks = findChunks(data, size);
    if (chunks.header.size < 20) throw failure("bad header");
    if (!chunks.body.data) throw failure("no BODY chunk");
    const uint8_t* header = chunks.header.data;
    const int64_t width = bigEndian16(header), height = bigEndian16(header + 2);
    const int planes = header[8], masking = header[9], compression = header[10];
    const int transparent = bigEndian16(header + 12);
    if (chunky ? planes != 8 : (planes < 1 || (planes > 8 && planes != 24)))
        throw failure("unsupported number of planes (" + std::to_string(planes) + ")");
    if (compression > 1) throw failure("unsupported compression " + std::to_string(compression));
    const uint32_t viewMode = chunks.viewMode.size >= 4 ? bigEndian32(chunks.viewMode.data) : 0;
    if (viewMode & CAMG_HAM) throw failure("hold-and-modify pictures are not supported");

    uint8_t palette[256][3] = {};
    if (chunks.colours.data)
        std::memcpy(palette, chunks.colours.data, std::min<size_t>(chunks.colours.size / 3, 256) * 3);
    if ((viewMode & CAMG_EXTRA_HALF_BRITE) && planes == 6)
        for (int i = 32; i < 64; ++i)
            for (int c = 0; c < 3; ++c) palette[i][c] = palette[i - 32][c] >> 1;

    const bool maskPlane = masking == MASK_PLANE && !chunky;
    const int64_t planeBytes = chunky ? width + (width & 1) : (width + 15) / 16 * 2;
    const int64_t rowBytes = chunky ? planeBytes : planeBytes * (planes + (maskPlane ? 1 : 0));
    requireFillable(uint64_t(rowBytes * height), int64_t(chunks.body.size),
                    compression ? MOST_BYTES_PER_BYTE : 1, format);
    allocatePixels(width, height, RGB, UINT8, RGBA);
    if (planes <= 8) {
        // The colours a pixel can name, the transparent one with alpha 0.
        Palette table;
        for (int i = 0; i < (1 << planes); ++i)
            table.push_back({palette[i][0], palette[i][1], palette[i][2],
                             uint8_t(masking == TRANSPARENT_COLOUR && i == transparent ? 0 : 255)});
        setPalette(std::move(table));
    }

    RowReader reader(chunks.body, compression == 1);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int32_t y = 0; y < getHeight(); ++y) {
        if (!reader.read(row.data(), row.size())) throw failure("truncated data");
        uint8_t* out = getRow(y);
        for (int32_t x = 0; x < getWidth(); ++x, out += 4) {
            uint32_t value = 0;
            if (chunky)
                value = row[size_t(x)];
            else
                for (int p = 0; p < planes; ++p)
                    value |= uint32_t(row[size_t(p * planeBytes + x / 8)] >> (7 - x % 8) & 1) << p;
            if (planes == 24) {
                out[0] = uint8_t(value), out[1] = uint8_t(value >> 8), out[2] = uint8_t(value >> 16);
            } else {
                std::memcpy(out, palette[value], 3);
            }
            bool shows = true;
            if (maskPlane) shows = row[size_t(planes * planeBytes + x / 8)] >> (7 - x % 8) & 1;
            if (masking == TRANSPARENT_COLOUR && planes != 24) shows = int(value) != transparent;
            out[3] = shows ? 255 : 0;
        }
    }
    describeTransparency();
}

ImageSourceRef ImageSourceFileIff::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileIff>(std::move(dataSource), options);
}

}  // namespace loom
