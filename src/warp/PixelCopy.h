// Pixel writers for the fast warp loops. They do what readPixelClamped followed by
// writePixelClamped does for an in-range pixel (and what writing black does outside), without
// looking up the channel order per pixel. The output of a warp is RGBA or RGB; when the source has
// the same order a pixel is copied as a block of bytes.
#pragma once

#include <cstdint>
#include <cstring>

#include "image/Surface.h"

namespace loom {

template <int BYTES>
struct SamePixelCopy {
    static constexpr int OUTPUT_INCREMENT = BYTES;
    void copy(uint8_t* out, const uint8_t* in) const { std::memcpy(out, in, BYTES); }
    // Every byte of an RGBA or RGB output pixel is a channel: black, and transparent with alpha.
    void clear(uint8_t* out) const { std::memset(out, 0, BYTES); }
};

// Any source order into an RGBA (4 bytes) or RGB (3 bytes) output.
template <int BYTES>
struct ReorderingPixelCopy {
    static constexpr int OUTPUT_INCREMENT = BYTES;
    uint8_t red, green, blue, alpha;
    void copy(uint8_t* out, const uint8_t* in) const {
        out[0] = in[red];
        out[1] = in[green];
        out[2] = in[blue];
        if (BYTES == 4) out[3] = in[alpha];
    }
    void clear(uint8_t* out) const { std::memset(out, 0, BYTES); }
};

// Calls body(copier) with the writer that fits the pair of surfaces and returns true, when the
// output is as the warp makes it: RGBA when the source has alpha, RGB otherwise. Returns false for
// any other pair, which the caller hands to the reference loop.
template <typename Body>
bool withPixelCopy(const Surface& source, const Surface& output, Body&& body) {
    const ChannelOrder& in = source.getChannelOrder();
    const int outCode = output.getChannelOrder().code;
    const bool alpha = in.hasAlpha();
    if (outCode != (alpha ? ChannelOrder::RGBA : ChannelOrder::RGB)) return false;
    if (in == output.getChannelOrder()) {
        if (alpha)
            body(SamePixelCopy<4>());
        else
            body(SamePixelCopy<3>());
    } else if (alpha) {
        body(ReorderingPixelCopy<4>{in.red, in.green, in.blue, in.alpha});
    } else {
        body(ReorderingPixelCopy<3>{in.red, in.green, in.blue, in.alpha});
    }
    return true;
}

}  // namespace loom
