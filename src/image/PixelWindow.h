// PixelWindow: a small grid of whole pixels (alpha << 24 | red << 16 | green << 8 | blue, alpha
// 255 for a surface without it) that slides over a surface in raster order. load() fills it from the
// surface and store() writes it back, both with coordinates clamped to the surface, so a window at the
// border sees (and writes) the edge pixels again. This is the literal, slow machinery every upscaler is
// defined by; the fast kernels are checked against it.
//
// Cell (i, j) stands for pixel (anchorX - left + i, anchorY - top + j). Cells are stored one
// column after another, and load/store visit them in that order, so when several cells clamp to
// one pixel the last of them in column order wins on store.
#pragma once

#include <cstdint>
#include <vector>

#include "image/Surface.h"

namespace loom {

class PixelWindow {
public:
    // The anchor starts on pixel (0, 0).
    PixelWindow(const Surface& surface, int columns, int rows, int left, int top);

    // Fill the cells from the surface, then advance(step, step). False when the window is not
    // valid (an empty surface) or the anchor has left the surface.
    bool load(int step);
    // Write the cells back (alpha too, when the surface has it), then advance(step, step). A pixel
    // written whole keeps its colour and alpha together.
    bool store(int step);
    // Move right up to xSteps pixels, stopping at the row's end; from the row's end move down up
    // to ySteps rows, back to column 0. True while the anchor is inside the surface.
    bool advance(int xSteps, int ySteps);

    uint32_t& cell(int column, int row) { return cells_[size_t(column) * size_t(rows_) + row]; }

    bool isValid() const { return valid_; }
    bool hasAlpha() const { return hasAlpha_; }
    int anchorX() const { return iter_.x(); }
    int anchorY() const { return iter_.y(); }

private:
    uint8_t* clampedPixel(int column, int row) const;

    std::vector<uint32_t> cells_;
    SurfaceIter iter_;
    uint8_t* data_;
    int32_t rowBytes_;
    ChannelOrder order_;
    bool hasAlpha_;
    bool valid_;
    int columns_, rows_;
    int firstDx_, firstDy_;
};

}  // namespace loom
