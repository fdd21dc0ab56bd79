// ImageSourceFileTga: Truevision TGA, raw or run-length coded: colour-mapped (15, 16, 24 or 32-bit
// map entries, the map's first index honoured), grey (8 bits, or 16 with alpha) and 15, 16, 24 or
// 32-bit truecolour, stored from any of the four corners. Alpha is read only where the descriptor
// gives the pixels alpha bits. TGA has no signature: a strict test of the header's fields tells it
// from other data, and it is tried last. The pixels come as 8-bit RGBA, or RGBX without alpha.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileTga : public ImageSourceDecoded {
public:
    ImageSourceFileTga(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
