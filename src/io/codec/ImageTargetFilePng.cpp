#include "io/codec/ImageTargetFilePng.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

#include "io/codec/PngChunks.h"
#include "io/codec/PngFilters.h"
#include "io/codec/PngRowFormat.h"
#include "io/codec/ZlibPieces.h"

namespace loom {

namespace {

// zlib's level, where size against time bends on upscaled pixel art: on a 4096 x 4096 Scale4x
// sprite sheet of 27 colours level 6 writes 12% more in 80% of the time, level 8 7% less in
// two and a half times the time. libdeflate does worse on these rows: 4% larger at its level 7,
// and at its level 8, 4% smaller, two and a half times slower.
constexpr int COMPRESSION_LEVEL = 7;
// The level for rows that are mostly noise, which deflate cannot bring below a quarter: there a
// deeper search gains little for much time (random pixels of four colours through Scale4x: level 7
// writes 6% less than level 2 in ten times the time).
constexpr int NOISE_LEVEL = 2;
// Rows are compressed in pieces of about this many bytes, a small part of the image in memory.
constexpr size_t PIECE_BYTES = size_t(512) << 10;
// Compressed bytes written as one IDAT chunk, at least.
constexpr size_t IDAT_BYTES = size_t(1) << 18;
// Row pairs sampled to choose the filter of a full-colour or gray image.
constexpr int FILTER_SAMPLES = 32;

// Whether row differs from the one above in at most one byte of 64. Upscaled pixel art repeats
// most rows with a few changes; filtered Up such a row is zeros but for the changes, which the
// compressor matches more cheaply than the repeat: files about 1% smaller, at no cost in time.
bool nearlyRepeats(const std::vector<uint8_t>& row, const std::vector<uint8_t>& above) {
    size_t changed = 0;
    for (size_t i = 0; i < row.size(); ++i) changed += row[i] != above[i];
    return changed * 64 <= row.size();
}

// Indices compress best unfiltered, but for nearly repeated rows. Other rows take the filter with the
// smallest estimate over rows sampled through the image: one filter for all rows, as pixel art is alike
// all over.
PngFilter chooseFilter(PngRowFormat& format, int32_t height,
                       const std::function<const uint8_t*(int32_t)>& rowAt) {
    if (format.indexed() || height < 2) return PngFilter::NONE;
    const size_t size = format.rowBytes();
    std::vector<uint8_t> above(size), row(size), filtered(size);
    std::array<uint64_t, 5> cost{};
    for (int i = 1; i <= FILTER_SAMPLES; ++i) {
        const int32_t y = std::max(1, int32_t(int64_t(height - 1) * i / FILTER_SAMPLES));
        format.pack(rowAt(y - 1), above.data());
        format.pack(rowAt(y), row.data());
        for (int f = 0; f < 5; ++f) {
            filterRow(PngFilter(f), row.data(), above.data(), size, format.pixelBytes(),
                      filtered.data());
            cost[size_t(f)] += filteredCost(filtered.data(), size);
        }
    }
    return PngFilter(std::min_element(cost.begin(), cost.end()) - cost.begin());
}

// The level for an image whose first piece of rows is given, judged by how well that piece
// compresses at the fastest level.
int levelFor(const std::vector<uint8_t>& piece) {
    uLongf size = compressBound(uLong(piece.size()));
    std::unique_ptr<uint8_t[]> out(new uint8_t[size]);
    if (compress2(out.get(), &size, piece.data(), uLong(piece.size()), 1) != Z_OK)
        throw std::runtime_error("compression failed");
    return size * 4 > piece.size() ? NOISE_LEVEL : COMPRESSION_LEVEL;
}

}  // namespace

ImageTargetFilePng::ImageTargetFilePng(DataTargetRef dataTarget, const ImageSourceRef& source,
                                       const Options& options)
    : ImageTargetEncoded(std::move(dataTarget), source, options) {
    const Request& r = getRequest();
    const ColorModel model = r.alpha || !r.gray ? RGB : GRAY;
    const DataType type = r.type == UINT8 ? UINT8 : UINT16;
    const SampleOrder order = r.alpha ? RGBA : (model == GRAY ? Y : RGB_ORDER);
    // The rows are surveyed and then encoded, so they are read twice: in place they need no
    // conversion on either pass.
    accept(model, type, order, RowAccess::WHOLE);
}

const uint8_t* ImageTargetFilePng::sourceRow(int32_t row) const {
    const ImageSource::RowsInPlace rows = rowsInPlace();
    return rows.data + int64_t(row) * rows.rowBytes;
}

void ImageTargetFilePng::encode(OStream& out) {
    PngRowFormat format(getSampleOrder(), getDataType(), getWidth(), getHeight(),
                        [this](int32_t y) { return sourceRow(y); });
    writePngSignature(out);
    writeHeader(out, format);
    writeRows(out, format);
    writePngChunk(out, "IEND", nullptr, 0);
}

void ImageTargetFilePng::writeHeader(OStream& out, const PngRowFormat& format) const {
    uint8_t header[13] = {};
    putBigEndian32(header, uint32_t(getWidth()));
    putBigEndian32(header + 4, uint32_t(getHeight()));
    header[8] = format.bitDepth();
    header[9] = format.colorType();  // compression, filter method and interlacing stay 0
    writePngChunk(out, "IHDR", header, sizeof(header));
    if (!format.indexed()) return;
    const ColorPalette& palette = format.palette();
    std::vector<uint8_t> colors, alphas;
    for (int i = 0; i < palette.size(); ++i) {
        const auto c = palette.color(i);
        colors.insert(colors.end(), {c[0], c[1], c[2]});
        alphas.push_back(c[3]);
    }
    writePngChunk(out, "PLTE", colors.data(), colors.size());
    if (palette.translucentEnd() > 0)
        writePngChunk(out, "tRNS", alphas.data(), size_t(palette.translucentEnd()));
}

void ImageTargetFilePng::writeRows(OStream& out, PngRowFormat& format) const {
    const auto rowAt = [this](int32_t y) { return sourceRow(y); };
    const PngFilter filter = chooseFilter(format, getHeight(), rowAt);
    const size_t size = format.rowBytes();
    // The stream's bytes are gathered into IDAT chunks of a useful size.
    std::vector<uint8_t> idat;
    const auto flush = [&] {
        writePngChunk(out, "IDAT", idat.data(), idat.size());
        idat.clear();
    };
    std::optional<ZlibPieces> zlib;  // made when the first piece shows what the rows are like
    std::vector<uint8_t> piece, row(size), above(size, 0);
    for (int32_t y = 0; y < getHeight(); ++y) {
        format.pack(rowAt(y), row.data());
        const PngFilter rowFilter =
            format.indexed() && y > 0 && nearlyRepeats(row, above) ? PngFilter::UP : filter;
        const size_t at = piece.size();
        piece.resize(at + 1 + size);
        piece[at] = uint8_t(rowFilter);
        filterRow(rowFilter, row.data(), above.data(), size, format.pixelBytes(), piece.data() + at + 1);
        std::swap(row, above);
        const bool last = y + 1 == getHeight();
        if (piece.size() < PIECE_BYTES && !last) continue;
        if (!zlib)
            zlib.emplace(levelFor(piece), [&](const uint8_t* data, size_t n) {
                idat.insert(idat.end(), data, data + n);
                if (idat.size() >= IDAT_BYTES) flush();
            });
        zlib->add(piece, last);
    }
    if (!idat.empty()) flush();
}

ImageTargetRef ImageTargetFilePng::create(DataTargetRef dataTarget, ImageSourceRef source,
                                          Options options, const std::string&) {
    return std::make_shared<ImageTargetFilePng>(std::move(dataTarget), source, options);
}

}  // namespace loom
