// The largest image the tool makes or accepts: 32768 pixels on a side and 2^28 pixels in all
// (1 GiB of RGBA). Checked before any allocation, since with memory overcommit a huge block may be
// granted and then kill the process when it is touched.
#pragma once

#include <cstdint>
#include <string>

#include "base/Exception.h"

namespace loom {

constexpr int64_t MAX_IMAGE_SIDE = 32768;
constexpr int64_t MAX_IMAGE_PIXELS = int64_t(1) << 28;

class ImageTooLargeExc : public Exception {
public:
    ImageTooLargeExc(int64_t width, int64_t height)
        : Exception("image too large: " + std::to_string(width) + " x " + std::to_string(height) +
                    " pixels") {}
};

inline bool withinImageLimits(int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE &&
           width * height <= MAX_IMAGE_PIXELS;
}

// Throws ImageTooLargeExc naming the size when it is out of bounds.
inline void checkImageLimits(int64_t width, int64_t height) {
    if (!withinImageLimits(width, height)) throw ImageTooLargeExc(width, height);
}

}  // namespace loom
