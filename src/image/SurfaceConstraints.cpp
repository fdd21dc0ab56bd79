#include "image/SurfaceConstraints.h"

#include "image/SizeCheck.h"

namespace loom {

ChannelOrder SurfaceConstraints::channelOrderFor(bool alpha) const {
    return ChannelOrder(alpha ? ChannelOrder::RGBA : ChannelOrder::RGB);
}

int32_t SurfaceConstraints::rowBytesFor(int width, const ChannelOrder& order, int elementSize) const {
    return checkedInt32(checkedProduct({width, order.increment, elementSize}), "row length");
}

ChannelOrder SurfaceConstraintsTextRaster::channelOrderFor(bool alpha) const {
    return ChannelOrder(alpha ? ChannelOrder::BGRA : ChannelOrder::BGR);
}

int32_t SurfaceConstraintsTextRaster::rowBytesFor(int width, const ChannelOrder& order,
                                                  int elementSize) const {
    int64_t bytes = checkedProduct({width, order.increment, elementSize});
    return checkedInt32((bytes + 3) / 4 * 4, "row length");
}

}  // namespace loom
