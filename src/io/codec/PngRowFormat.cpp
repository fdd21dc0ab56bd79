#include "io/codec/PngRowFormat.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace loom {

namespace {

constexpr uint8_t GRAY = 0, COLOR = 2, INDEXED = 3, GRAY_ALPHA = 4, COLOR_ALPHA = 6;

int samplesOf(uint8_t colorType) {
    static const int samples[7] = {1, 0, 3, 1, 2, 0, 4};
    return samples[colorType];
}

bool rowOpaque(const uint8_t* row, int32_t width) {
    for (int32_t x = 0; x < width; ++x)
        if (row[4 * x + 3] != 0xFF) return false;
    return true;
}

bool rowGray(const uint8_t* row, int32_t width, int channels) {
    for (int32_t x = 0; x < width; ++x, row += channels)
        if (row[0] != row[1] || row[0] != row[2]) return false;
    return true;
}

}  // namespace

PngRowFormat::PngRowFormat(ImageIo::SampleOrder order, ImageIo::DataType type, int32_t width,
                           int32_t height, const RowAccess& rowAt, const Palette& table)
    : channels_(ImageIo::channelsOf(order)), width_(width) {
    if (type == ImageIo::UINT8) {
        if (!table.empty() && keepTable(table, height, rowAt)) return;
        survey(height, rowAt);
        return;
    }
    bitDepth_ = 16;
    colorType_ = channels_ == 4 ? COLOR_ALPHA : channels_ == 3 ? COLOR : GRAY;
}

PngRowFormat PngRowFormat::rgba8(int32_t width) { return PngRowFormat(width, COLOR_ALPHA); }

bool PngRowFormat::keepTable(const Palette& table, int32_t height, const RowAccess& rowAt) {
    ColorPalette kept(table);
    const int size = kept.size();
    std::vector<uint8_t> scratch(static_cast<size_t>(width_));
    for (int32_t y = 0; y < height; ++y)
        if (!kept.addRow(rowAt(y), width_, channels_, scratch.data()) || kept.size() > size)
            return false;
    palette_ = ColorPalette(table);
    setIndexed(size);
    return true;
}

void PngRowFormat::setIndexed(int colours) {
    colorType_ = INDEXED;
    bitDepth_ = colours <= 2 ? 1 : colours <= 4 ? 2 : colours <= 16 ? 4 : 8;
    if (bitDepth_ < 8) indices_.resize(size_t(width_));
}

void PngRowFormat::survey(int32_t height, const RowAccess& rowAt) {
    std::vector<uint8_t> scratch(static_cast<size_t>(width_));
    bool fits = true, opaque = true, gray = true;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = rowAt(y);
        if (fits) {
            if (palette_.addRow(row, width_, channels_, scratch.data())) continue;
            // Every colour so far is in the palette; from this row on, pixels are looked at.
            fits = false;
            opaque = palette_.translucentEnd() == 0;
            gray = palette_.allGray();
        }
        if (opaque && channels_ == 4) opaque = rowOpaque(row, width_);
        if (gray && channels_ >= 3) gray = rowGray(row, width_, channels_);
        if (!opaque && !gray) break;
    }
    if (fits) {
        opaque = palette_.translucentEnd() == 0;
        gray = palette_.allGray();
    }
    if (fits && !(gray && opaque && palette_.size() > 16)) {
        palette_.putTranslucentFirst();
        setIndexed(palette_.size());
        return;
    }
    colorType_ = gray ? (opaque ? GRAY : GRAY_ALPHA) : (opaque ? COLOR : COLOR_ALPHA);
}

size_t PngRowFormat::rowBytes() const {
    return (size_t(width_) * size_t(samplesOf(colorType_)) * bitDepth_ + 7) / 8;
}

int PngRowFormat::pixelBytes() const { return std::max(1, samplesOf(colorType_) * bitDepth_ / 8); }

void PngRowFormat::pack(const uint8_t* row, uint8_t* out) {
    const size_t width = size_t(width_);
    const size_t channels = size_t(channels_);
    if (colorType_ == INDEXED) return packIndices(row, out);
    if (bitDepth_ == 16) {  // big-endian samples
        const size_t samples = width * channels;
        for (size_t i = 0; i < samples; ++i) {
            uint16_t v;
            std::memcpy(&v, row + 2 * i, 2);
            out[2 * i] = uint8_t(v >> 8), out[2 * i + 1] = uint8_t(v);
        }
        return;
    }
    switch (colorType_) {
        case GRAY:
            for (size_t x = 0; x < width; ++x) out[x] = row[x * channels];
            return;
        case GRAY_ALPHA:
            for (size_t x = 0; x < width; ++x) out[2 * x] = row[4 * x], out[2 * x + 1] = row[4 * x + 3];
            return;
        case COLOR:
            if (channels == 3) return (void)std::memcpy(out, row, width * 3);
            for (size_t x = 0; x < width; ++x)
                out[3 * x] = row[4 * x], out[3 * x + 1] = row[4 * x + 1],
                        out[3 * x + 2] = row[4 * x + 2];
            return;
        default: std::memcpy(out, row, width * 4);
    }
}

void PngRowFormat::packIndices(const uint8_t* row, uint8_t* out) {
    uint8_t* indices = bitDepth_ == 8 ? out : indices_.data();
    const int colors = palette_.size();
    if (!palette_.addRow(row, width_, channels_, indices) || palette_.size() != colors)
        throw std::runtime_error("the image changed while it was being written");
    if (bitDepth_ == 8) return;
    const int perByte = 8 / bitDepth_;
    const size_t bytes = rowBytes();
    for (size_t b = 0, x = 0; b < bytes; ++b) {
        unsigned packed = 0;
        for (int k = 0; k < perByte; ++k, ++x)
            packed = packed << bitDepth_ | (x < size_t(width_) ? indices[x] : 0u);
        out[b] = uint8_t(packed);
    }
}

}  // namespace loom
