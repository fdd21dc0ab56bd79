// ImageSourceFileTiff: TIFF decoding (libtiff). Gray, gray with alpha, RGB and RGBA of 8 or 16 bits
// are read as stored; any other layout libtiff can render comes as 8-bit RGBA (straight alpha) or
// RGBX. The load options' index picks the page.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileTiff : public ImageSourceDecoded {
public:
    ImageSourceFileTiff(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
