// Rectf: a float rectangle kept exactly as given (x1, y1, x2, y2 = left, top, right, bottom; never
// reordered). Area: an integer rectangle whose corners are ordered on construction, used to clip
// pixel work to an image.
#pragma once

#include <algorithm>
#include <cstdint>

namespace loom {

struct Rectf {
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;

    constexpr Rectf() = default;
    constexpr Rectf(float x1_, float y1_, float x2_, float y2_) : x1(x1_), y1(y1_), x2(x2_), y2(y2_) {}

    constexpr float getWidth() const { return x2 - x1; }
    constexpr float getHeight() const { return y2 - y1; }
    constexpr bool operator==(const Rectf& o) const {
        return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
    }
};

struct Area {
    int32_t x1 = 0;
    int32_t y1 = 0;
    int32_t x2 = 0;
    int32_t y2 = 0;

    constexpr Area() = default;
    constexpr Area(int32_t ax1, int32_t ay1, int32_t ax2, int32_t ay2)
        : x1(std::min(ax1, ax2)),
          y1(std::min(ay1, ay2)),
          x2(std::max(ax1, ax2)),
          y2(std::max(ay1, ay2)) {}

    constexpr int32_t getWidth() const { return x2 - x1; }
    constexpr int32_t getHeight() const { return y2 - y1; }
    constexpr bool contains(int32_t x, int32_t y) const {
        return x >= x1 && x < x2 && y >= y1 && y < y2;
    }

    // Clamps each coordinate into the other area's range; an area wholly outside becomes empty.
    void clipBy(const Area& bounds) {
        x1 = std::clamp(x1, bounds.x1, bounds.x2);
        x2 = std::clamp(x2, bounds.x1, bounds.x2);
        y1 = std::clamp(y1, bounds.y1, bounds.y2);
        y2 = std::clamp(y2, bounds.y1, bounds.y2);
    }
    constexpr bool operator==(const Area& o) const {
        return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2;
    }
};

}  // namespace loom
