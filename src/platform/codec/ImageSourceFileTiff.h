// ImageSourceFileTiff: TIFF decoding (libtiff). Any layout libtiff can render is read as 8-bit
// RGBA (RGBX when the file has no alpha); the load options' index picks the page.
#pragma once

#include "platform/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileTiff : public ImageSourceDecoded {
public:
    ImageSourceFileTiff(DataSourceRef dataSource, Options options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
