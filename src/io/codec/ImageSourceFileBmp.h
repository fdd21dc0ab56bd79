// ImageSourceFileBmp: Windows and OS/2 bitmaps, every header from OS/2 1.x (12 bytes) through
// OS/2 2.x (16 to 64) to Windows V5 (124). 1, 2, 4 and 8-bit palettes, RLE8 and RLE4, 16, 24 and
// 32-bit pixels in the default layouts or with any bit-field masks; rows bottom-up or top-down.
// The pixels come as 8-bit RGBA, described as RGBX when the file gives no transparency: an alpha
// mask, the top byte of 32-bit pixels, or pixels that run-length data leaves undrawn.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileBmp : public ImageSourceDecoded {
public:
    ImageSourceFileBmp(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
