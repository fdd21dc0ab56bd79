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
        : Exception("image too large: " + sizeText(width, height) + limitsText()) {}
    // A picture within the limits whose enlargement by factor is not.
    ImageTooLargeExc(int64_t width, int64_t height, int64_t factor)
        : Exception("result too large: " + sizeText(width, height) + " enlarged " +
                    std::to_string(factor) + " times would be " +
                    sizeText(width * factor, height * factor) + limitsText()) {}

private:
    static std::string sizeText(int64_t width, int64_t height) {
        return std::to_string(width) + " x " + std::to_string(height) + " pixels";
    }
    static std::string limitsText() {
        return " (the most is " + std::to_string(MAX_IMAGE_SIDE) + " on a side and " +
               std::to_string(MAX_IMAGE_PIXELS) + " in all)";
    }
};

inline bool withinImageLimits(int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE &&
           width * height <= MAX_IMAGE_PIXELS;
}

// Throws ImageTooLargeExc naming the size when it is out of bounds.
inline void checkImageLimits(int64_t width, int64_t height) {
    if (!withinImageLimits(width, height)) throw ImageTooLargeExc(width, height);
}

// Throws ImageTooLargeExc when width x height, or that enlarged factor times on each side, is out
// of bounds: a caller that will enlarge a picture refuses it before making or decoding it.
inline void checkImageLimits(int64_t width, int64_t height, int64_t factor) {
    checkImageLimits(width, height);
    // Within the limits each side is at most 2^15, so a factor below 2^40 cannot overflow.
    if (factor < 1 || factor >= (int64_t(1) << 40) ||
        !withinImageLimits(width * factor, height * factor))
        throw ImageTooLargeExc(width, height, factor);
}

}  // namespace loom
