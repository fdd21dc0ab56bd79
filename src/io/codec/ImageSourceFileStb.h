// ImageSourceFileStb: PSD through stb_image (the composite image): 8 or 16 bits, gray, gray with
// alpha, RGB or RGBA as the file has them.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileStb : public ImageSourceDecoded {
public:
    ImageSourceFileStb(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
