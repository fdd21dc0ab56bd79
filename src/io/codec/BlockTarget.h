// BlockTarget: a target that takes rows as RGBA (8 or 16 bits a sample) straight into a block of
// pixels someone else owns, for a decoder that hands a part of its file to another decoder.
#pragma once

#include <cstdint>

#include "io/ImageTarget.h"

namespace loom {

class BlockTarget : public ImageTarget {
public:
    BlockTarget(uint8_t* pixels, int32_t width, int32_t height, int32_t rowBytes, DataType type = UINT8)
        : pixels_(pixels), rowBytes_(rowBytes) {
        setSize(width, height);
        setColorModel(RGB);
        setDataType(type);
        setSampleOrder(RGBA);
    }
    void* getRowPointer(int32_t row) override { return pixels_ + int64_t(row) * rowBytes_; }

private:
    uint8_t* pixels_;
    int32_t rowBytes_;
};

}  // namespace loom
