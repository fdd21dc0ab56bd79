// ImageSourceFilePng: PNG decoding (libpng). 8 and 16 bits, gray, gray with alpha, RGB, RGBA,
// palettes (RGBA when they carry transparency), interlaced.
#pragma once

#include "platform/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFilePng : public ImageSourceDecoded {
public:
    ImageSourceFilePng(DataSourceRef dataSource, Options options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
