// SurfaceConstraints: the policy that decides a new surface's channel order and row length.
#pragma once

#include <cstdint>

#include "image/ChannelOrder.h"

namespace loom {

class SurfaceConstraints {
public:
    virtual ~SurfaceConstraints() = default;
    // alpha ? RGBA : RGB
    virtual ChannelOrder channelOrderFor(bool alpha) const;
    // width * increment * elementSize; throws std::length_error when that overflows.
    virtual int32_t rowBytesFor(int width, const ChannelOrder& order, int elementSize) const;
};

class SurfaceConstraintsDefault : public SurfaceConstraints {};

// The text rasteriser's layout: BGRA / BGR, rows padded to a multiple of 4 bytes.
class SurfaceConstraintsTextRaster : public SurfaceConstraints {
public:
    ChannelOrder channelOrderFor(bool alpha) const override;
    int32_t rowBytesFor(int width, const ChannelOrder& order, int elementSize) const override;
};

}  // namespace loom
