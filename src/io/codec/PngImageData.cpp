#include "io/codec/PngImageData.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "io/codec/PngChunks.h"
#include "io/codec/PngFilters.h"
#include "io/codec/ZlibPieces.h"

namespace loom {

namespace {

// Deflate's search for upscaled pixel art. Its rows repeat the row above with few changes, a
// match a row back that the hash chains, flooded by the same bytes nearby in flat runs, often
// hide. Level 7's 256 links, but taking matches up to the longest (258) where level 7 stops
// searching at 128 and lazily tries fewer: 1-3% smaller than level 7 in the same time on sprite
// sheets of 2 to 240 colours through Scale2x to Scale4x. Twice the links gain 1-3% more, but a
// 2048 x 2048 sheet through Scale2x then takes half as long again as a whole process, a third of
// ImageMagick's time; level 9 (4096 links) gains 1-3% more in twice that.
constexpr DeflateEffort PIXEL_ART_EFFORT = {9, 4, 258, 258, 256};
// For rows that are mostly noise, which deflate cannot bring below a quarter: there a deeper
// search gains little for much time (random pixels of four colours through Scale4x: level 7
// writes 6% less than level 2 in ten times the time).
constexpr DeflateEffort NOISE_EFFORT = {2};
// Rows are compressed in pieces of about this many bytes, a small part of the image in memory.
constexpr size_t PIECE_BYTES = size_t(512) << 10;
// Compressed bytes written as one IDAT chunk, at least.
constexpr size_t IDAT_BYTES = size_t(1) << 18;
// Row pairs sampled to choose the filter of a full-colour or gray image.
constexpr int FILTER_SAMPLES = 32;

// Whether row differs from the one above in at most one byte of 64. Upscaled pixel art repeats
// most rows with a few changes; filtered Up such a row is zeros but for the changes. Whether the
// compressor then does better than on the plain repeat depends on the picture (from 2% smaller to
// 3% larger on sprite sheets), so it is tried on the first piece of rows.
bool nearlyRepeats(const std::vector<uint8_t>& row, const std::vector<uint8_t>& above) {
    size_t changed = 0;
    for (size_t i = 0; i < row.size(); ++i) changed += row[i] != above[i];
    return changed * 64 <= row.size();
}

// Appends the row, filtered, to piece.
void appendFiltered(std::vector<uint8_t>& piece, PngFilter filter, const std::vector<uint8_t>& row,
                    const std::vector<uint8_t>& above, int pixelBytes) {
    const size_t at = piece.size();
    piece.resize(at + 1 + row.size());
    piece[at] = uint8_t(filter);
    filterRow(filter, row.data(), above.data(), row.size(), pixelBytes, piece.data() + at + 1);
}

// Indices compress best unfiltered, but maybe for nearly repeated rows. Other rows take the filter with
// the smallest estimate over rows sampled through the image: one filter for all rows, as pixel art is
// alike all over.
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

// The effort for an image whose first piece of rows is given, judged by how well that piece
// compresses at the fastest level.
DeflateEffort effortFor(const std::vector<uint8_t>& piece) {
    return deflatedSize(piece, {1}) * 4 > piece.size() ? NOISE_EFFORT : PIXEL_ART_EFFORT;
}

}  // namespace

void writePngHeader(OStream& out, int32_t width, int32_t height, const PngRowFormat& format) {
    uint8_t header[13] = {};
    putBigEndian32(header, uint32_t(width));
    putBigEndian32(header + 4, uint32_t(height));
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

void writePngRows(PngRowFormat& format, int32_t height, const PngRowFormat::RowAccess& rowAt,
                  const PngDataSink& writeChunk) {
    const PngFilter filter = chooseFilter(format, height, rowAt);
    const size_t size = format.rowBytes();
    // The stream's bytes are gathered into chunks of a useful size.
    std::vector<uint8_t> idat;
    const auto flush = [&] {
        writeChunk(idat.data(), idat.size());
        idat.clear();
    };
    std::optional<ZlibPieces> zlib;  // made when the first piece shows what the rows are like
    // Palette rows are filtered both ways until the first piece shows which compresses better:
    // piece with every row unfiltered, upPiece with nearly repeated rows filtered Up.
    bool tryingUp = format.indexed(), upNearRepeats = false;
    std::vector<uint8_t> piece, upPiece, row(size), above(size, 0);
    for (int32_t y = 0; y < height; ++y) {
        format.pack(rowAt(y), row.data());
        const bool nearRepeat = format.indexed() && y > 0 && nearlyRepeats(row, above);
        appendFiltered(piece, nearRepeat && upNearRepeats ? PngFilter::UP : filter, row, above,
                       format.pixelBytes());
        if (tryingUp)
            appendFiltered(upPiece, nearRepeat ? PngFilter::UP : filter, row, above,
                           format.pixelBytes());
        std::swap(row, above);
        const bool last = y + 1 == height;
        if (piece.size() < PIECE_BYTES && !last) continue;
        if (!zlib) {
            const DeflateEffort effort = effortFor(piece);
            if (tryingUp) {
                upNearRepeats = deflatedSize(upPiece, effort) < deflatedSize(piece, effort);
                if (upNearRepeats) piece.swap(upPiece);
                tryingUp = false;
                upPiece = {};
            }
            zlib.emplace(effort, [&](const uint8_t* data, size_t n) {
                idat.insert(idat.end(), data, data + n);
                if (idat.size() >= IDAT_BYTES) flush();
            });
        }
        zlib->add(piece, last);
    }
    if (!idat.empty()) flush();
}

}  // namespace loom
