// PngRowFormat: the smallest exact PNG form of an image, and its rows in that form. 8-bit rows
// (RGBA, RGB or gray) are surveyed first: at most 256 colours make a palette of 1, 2, 4 or 8 bits
// a pixel, its translucent colours first so that the transparency chunk is short; more colours
// make gray or colour rows, with alpha only when some pixel is not opaque. Gray of more than 16
// levels stays gray, as small as a palette and without one. 16-bit rows are kept as they come.
// Given a table that holds every colour of the picture, the palette is that table, in its order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "io/ImageIo.h"
#include "io/codec/ColorPalette.h"

namespace loom {

class PngRowFormat {
public:
    using RowAccess = std::function<const uint8_t*(int32_t row)>;

    // order: RGBA, RGB_ORDER or Y; type: UINT8 or UINT16. Reads every row once through rowAt
    // (twice when the table is given and does not hold every colour).
    PngRowFormat(ImageIo::SampleOrder order, ImageIo::DataType type, int32_t width, int32_t height,
                 const RowAccess& rowAt, const Palette& table = {});

    // Plain 8-bit RGBA rows (colour type 6), for pictures whose colours are not all known before
    // the first is written, such as an animation's frames.
    static PngRowFormat rgba8(int32_t width);

    // IHDR's colour type: 0 gray, 2 colour, 3 palette, 4 gray and alpha, 6 colour and alpha.
    uint8_t colorType() const { return colorType_; }
    uint8_t bitDepth() const { return bitDepth_; }
    bool indexed() const { return colorType_ == 3; }
    const ColorPalette& palette() const { return palette_; }
    // Bytes of a row in this form, and of a pixel (at least 1), as the filters count them.
    size_t rowBytes() const;
    int pixelBytes() const;

    // Writes one of the image's rows, in this form, to out (rowBytes()).
    void pack(const uint8_t* row, uint8_t* out);

private:
    PngRowFormat(int32_t width, uint8_t colorType)
        : channels_(4), width_(width), colorType_(colorType) {}
    void survey(int32_t height, const RowAccess& rowAt);
    // Whether table holds every colour of the picture; if so it becomes the palette.
    bool keepTable(const Palette& table, int32_t height, const RowAccess& rowAt);
    void setIndexed(int colours);
    void packIndices(const uint8_t* row, uint8_t* out);

    int channels_;
    int32_t width_;
    uint8_t colorType_ = 0;
    uint8_t bitDepth_ = 8;
    ColorPalette palette_;
    std::vector<uint8_t> indices_;  // one row of palette indices when they take less than a byte
};

}  // namespace loom
