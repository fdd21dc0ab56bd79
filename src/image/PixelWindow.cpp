#include "image/PixelWindow.h"

#include <algorithm>

namespace loom {

PixelWindow::PixelWindow(const Surface& surface, int columns, int rows, int left, int top)
    : cells_(size_t(columns) * size_t(rows), 0u),
      iter_(surface.getIter()),
      data_(surface.getData()),
      rowBytes_(surface.getRowBytes()),
      order_(surface.getChannelOrder()),
      hasAlpha_(surface.hasAlpha()),
      valid_(surface.getWidth() > 0 && surface.getHeight() > 0),
      columns_(columns),
      rows_(rows),
      firstDx_(-left),
      firstDy_(-top) {
    iter_.line();
    iter_.pixel();
}

uint8_t* PixelWindow::clampedPixel(int column, int row) const {
    const int px = std::clamp(iter_.x() + firstDx_ + column, 0, iter_.endX() - 1);
    const int py = std::clamp(iter_.y() + firstDy_ + row, 0, iter_.endY() - 1);
    return data_ + int64_t(py) * rowBytes_ + int64_t(px) * order_.increment;
}

bool PixelWindow::load(int step) {
    if (!valid_) return false;
    for (int i = 0; i < columns_; ++i) {
        for (int j = 0; j < rows_; ++j) {
            const uint8_t* p = clampedPixel(i, j);
            const uint32_t alpha = hasAlpha_ ? p[order_.alpha] : 255u;
            cell(i, j) = alpha << 24 | uint32_t(p[order_.red]) << 16 | uint32_t(p[order_.green]) << 8 |
                         uint32_t(p[order_.blue]);
        }
    }
    return advance(step, step);
}

bool PixelWindow::store(int step) {
    // An empty surface has no pixel to clamp to.
    if (!valid_) return false;
    for (int i = 0; i < columns_; ++i) {
        for (int j = 0; j < rows_; ++j) {
            uint8_t* p = clampedPixel(i, j);
            const uint32_t c = cell(i, j);
            p[order_.red] = uint8_t(c >> 16);
            p[order_.green] = uint8_t(c >> 8);
            p[order_.blue] = uint8_t(c);
            if (hasAlpha_) p[order_.alpha] = uint8_t(c >> 24);
        }
    }
    return advance(step, step);
}

bool PixelWindow::advance(int xSteps, int ySteps) {
    const int width = iter_.endX();
    const int height = iter_.endY();
    for (int i = 0; i < xSteps && iter_.x() < width; ++i) iter_.pixel();
    if (iter_.x() == width) {
        for (int j = 0; j < ySteps && iter_.y() < height; ++j) {
            iter_.line();
            iter_.pixel();
        }
    }
    return iter_.y() < height;
}

}  // namespace loom
