// ImageSourceFileJpeg: JPEG decoding (libjpeg-turbo): colour (RGB), gray (Y), and CMYK converted
// to RGB.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileJpeg : public ImageSourceDecoded {
public:
    ImageSourceFileJpeg(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

private:
    friend struct JpegDecoding;
};

}  // namespace loom
