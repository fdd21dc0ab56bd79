// ImageSourceFileWebp: WebP decoding (libwebp), still images, RGB or RGBA.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileWebp : public ImageSourceDecoded {
public:
    ImageSourceFileWebp(DataSourceRef dataSource, Options options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
