#include "io/codec/ImageSourceFileIff.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "io/ImageIoExc.h"
#include "io/codec/ByteReader.h"

namespace loom {

namespace {

constexpr int64_t MOST_BYTES_PER_BYTE = 64;  // a two-byte ByteRun1 run gives at most 128
constexpr uint32_t CAMG_HAM = 0x800, CAMG_EXTRA_HALF_BRITE = 0x80;
enum Masking { NO_MASK = 0, MASK_PLANE = 1, TRANSPARENT_COLOUR = 2 };

// The chunks the picture needs, each cut to the bytes the file really holds; absent when the file
// has none.
struct Chunks {
    std::optional<ByteReader> header, colours, body, viewMode;
};

Chunks findChunks(ByteReader file) {
    // The FORM's own size is not trusted: its chunks are walked up to the end of the file.
    Chunks chunks;
    file.seek(12);
    while (file.remaining() >= 8) {
        const std::string type(reinterpret_cast<const char*>(file.take(4)), 4);
        const size_t declared = file.u32be();
        const bool last = declared >= file.remaining();
        const ByteReader chunk = file.sub(std::min(declared, file.remaining()));
        if (type == "BMHD") chunks.header = chunk;
        if (type == "CMAP") chunks.colours = chunk;
        if (type == "CAMG") chunks.viewMode = chunk;
        if (type == "BODY") chunks.body = chunk;
        if (last) break;
        if (declared & 1) file.skip(1);  // chunks start at even offsets
    }
    return chunks;
}

// The rows one after another, plain or ByteRun1-compressed; runs may cross rows. A body ending
// first fails in the reader: "<format>: truncated data".
class RowReader {
public:
    RowReader(ByteReader body, bool compressed) : data_(body), compressed_(compressed) {}

    void read(uint8_t* row, size_t bytes) {
        for (size_t i = 0; i < bytes;) {
            if (literal_ == 0 && repeat_ == 0) {
                if (!compressed_) {
                    row[i++] = data_.u8();
                    continue;
                }
                const int8_t count = int8_t(data_.u8());
                if (count >= 0)
                    literal_ = count + 1;
                else if (count != -128)  // -128 is a no-op
                    repeat_ = 1 - count, value_ = data_.u8();
                continue;
            }
            if (literal_ > 0)
                row[i++] = data_.u8(), --literal_;
            else
                row[i++] = value_, --repeat_;
        }
    }

private:
    ByteReader data_;
    bool compressed_;
    int literal_ = 0, repeat_ = 0;
    uint8_t value_ = 0;
};

}  // namespace

ImageSourceFileIff::ImageSourceFileIff(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = requireSignature(dataSource, "FORM", 4, "IFF");
    ByteReader file(static_cast<const uint8_t*>(bytes.getData()), size_t(bytes.getDataSize()), "IFF");
    std::string formType;
    if (file.size() >= 12) {
        file.seek(8);
        formType.assign(reinterpret_cast<const char*>(file.take(4)), 4);
    }
    const bool chunky = formType == "PBM ";
    if (!chunky && formType != "ILBM") throw ImageIoNotThisFormatExc("not an IFF picture");
    const char* format = chunky ? "PBM" : "ILBM";
    auto failure = [&](const std::string& what) {
        return ImageIoFailedLoadExc(std::string(format) + ": " + what);
    };
    Chunks chunks = findChunks(ByteReader(file.data(), file.size(), format));
    if (!chunks.header || chunks.header->size() < 20) throw failure("bad header");
    if (!chunks.body) throw failure("no BODY chunk");
    ByteReader& header = *chunks.header;
    const int64_t width = header.u16be(), height = header.u16be();
    header.skip(4);  // the picture's place on the screen
    const int planes = header.u8(), masking = header.u8(), compression = header.u8();
    header.skip(1);
    const int transparent = header.u16be();
    if (chunky ? planes != 8 : (planes < 1 || (planes > 8 && planes != 24)))
        throw failure("unsupported number of planes (" + std::to_string(planes) + ")");
    if (compression > 1) throw failure("unsupported compression " + std::to_string(compression));
    const uint32_t viewMode =
        chunks.viewMode && chunks.viewMode->size() >= 4 ? chunks.viewMode->u32be() : 0;
    if (viewMode & CAMG_HAM) throw failure("hold-and-modify pictures are not supported");

    uint8_t palette[256][3] = {};
    if (chunks.colours) {
        const size_t entries = std::min<size_t>(chunks.colours->size() / 3, 256);
        std::memcpy(palette, chunks.colours->take(entries * 3), entries * 3);
    }
    if ((viewMode & CAMG_EXTRA_HALF_BRITE) && planes == 6)
        for (int i = 32; i < 64; ++i)
            for (int c = 0; c < 3; ++c) palette[i][c] = palette[i - 32][c] >> 1;

    const bool maskPlane = masking == MASK_PLANE && !chunky;
    const int64_t planeBytes = chunky ? width + (width & 1) : (width + 15) / 16 * 2;
    const int64_t rowBytes = chunky ? planeBytes : planeBytes * (planes + (maskPlane ? 1 : 0));
    requireFillable(uint64_t(rowBytes * height), int64_t(chunks.body->size()),
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

    RowReader reader(*chunks.body, compression == 1);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int32_t y = 0; y < getHeight(); ++y) {
        reader.read(row.data(), row.size());
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
