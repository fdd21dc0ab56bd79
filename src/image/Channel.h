// ChannelT: a view of one channel of a surface (red, green, blue or alpha). It never owns data and
// must not outlive the surface's pixels.
#pragma once

#include <cstdint>
#include <memory>

#include "math/Rect.h"

namespace loom {

template <typename T>
class ChannelT {
public:
    ChannelT() = default;
    ChannelT(int32_t width, int32_t height, int32_t rowBytes, uint8_t increment, T* data)
        : rec_(std::make_shared<Record>(Record{width, height, rowBytes, data, increment, false})) {}

    explicit operator bool() const { return rec_ != nullptr; }
    int32_t getWidth() const { return rec_->width; }
    int32_t getHeight() const { return rec_->height; }
    int32_t getRowBytes() const { return rec_->rowBytes; }
    uint8_t getIncrement() const { return rec_->increment; }
    T* getData() const { return rec_->data; }
    T* getData(int32_t x, int32_t y) const {
        return reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(rec_->data) + y * rec_->rowBytes) +
               x * rec_->increment;
    }

    void fill(T value) { fill(value, Area(0, 0, rec_->width, rec_->height)); }
    // Sets every sample inside area (clipped to the channel) to value.
    void fill(T value, Area area) {
        area.clipBy(Area(0, 0, rec_->width, rec_->height));
        for (int32_t y = area.y1; y < area.y2; ++y) {
            T* p = getData(area.x1, y);
            for (int32_t x = area.x1; x < area.x2; ++x, p += rec_->increment) *p = value;
        }
    }

private:
    struct Record {
        int32_t width;
        int32_t height;
        int32_t rowBytes;
        T* data;
        uint8_t increment;
        bool ownsData;
    };
    std::shared_ptr<Record> rec_;
};

using Channel = ChannelT<uint8_t>;

}  // namespace loom
