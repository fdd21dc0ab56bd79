// The settings every WebP we write uses: lossless and exact (transparent pixels keep the colour
// they hide), at a middling effort.
#pragma once

#include <webp/encode.h>

#include "io/ImageIoExc.h"

namespace loom {

inline WebPConfig losslessWebpConfig() {
    WebPConfig config;
    if (!WebPConfigInit(&config)) throw ImageIoFailedLoadExc("WebP: library version mismatch");
    config.lossless = 1;
    config.exact = 1;
    config.method = 4;
    config.quality = 75;  // effort, since lossless
    return config;
}

}  // namespace loom
