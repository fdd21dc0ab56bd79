// SurfaceIter: walks the pixels of a rectangle of a surface, row by row. A fresh iterator stands
// before the first row: call line() to enter a row, then pixel() to step onto each pixel.
//
//   auto it = surface.getIter();
//   while (it.line()) while (it.pixel()) it.r() = 0;
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/ChannelOrder.h"
#include "math/Rect.h"

namespace loom {

template <typename T>
class SurfaceIterT {
public:
    // area is clipped to (0, 0, width, height).
    SurfaceIterT(T* data, int32_t width, int32_t height, int32_t rowBytes, const ChannelOrder& order,
                 Area area)
        : redOff_(order.red),
          greenOff_(order.green),
          blueOff_(order.blue),
          alphaOff_(order.alpha),
          inc_(order.increment),
          rowInc_(rowBytes) {
        area.clipBy(Area(0, 0, width, height));
        width_ = area.getWidth();
        height_ = area.getHeight();
        startX_ = area.x1;
        startY_ = area.y1;
        endX_ = area.x2;
        endY_ = area.y2;
        x_ = startX_ - 1;
        y_ = startY_ - 1;
        // Addresses are kept as integers: the position before the first row may lie outside
        // the block (or the block may be empty), where pointer arithmetic would be undefined.
        lineStart_ = reinterpret_cast<uintptr_t>(data) +
                     static_cast<uintptr_t>((int64_t(startY_) - 1) * rowBytes + int64_t(startX_) * inc_);
        ptr_ = lineStart_ - inc_;
    }

    bool line() {
        ++y_;
        lineStart_ += rowInc_;
        ptr_ = lineStart_ - inc_;
        x_ = startX_ - 1;
        return y_ < endY_;
    }
    bool pixel() {
        ++x_;
        ptr_ += inc_;
        return x_ < endX_;
    }

    T& r() const { return at(redOff_); }
    T& g() const { return at(greenOff_); }
    T& b() const { return at(blueOff_); }
    T& a() const { return at(alphaOff_); }
    bool hasAlpha() const { return alphaOff_ != ChannelOrder::NO_CHANNEL; }

    int32_t x() const { return x_; }
    int32_t y() const { return y_; }
    int32_t getWidth() const { return width_; }
    int32_t getHeight() const { return height_; }
    int32_t startX() const { return startX_; }
    int32_t startY() const { return startY_; }
    int32_t endX() const { return endX_; }
    int32_t endY() const { return endY_; }
    uint8_t increment() const { return inc_; }
    int32_t rowIncrement() const { return rowInc_; }
    T* pixelPointer() const { return reinterpret_cast<T*>(ptr_); }

private:
    T& at(uint8_t off) const { return *reinterpret_cast<T*>(ptr_ + off); }

    uint8_t redOff_, greenOff_, blueOff_, alphaOff_;
    uint8_t inc_;
    uintptr_t lineStart_;
    uintptr_t ptr_;
    int32_t rowInc_;
    int32_t width_, height_;
    int32_t x_, y_;
    int32_t startX_, startY_;
    int32_t endX_, endY_;
};

using SurfaceIter = SurfaceIterT<uint8_t>;

}  // namespace loom
