// ImageSourceFileStb: the formats stb_image adds: BMP, and TGA, PNM (P5, P6) and PSD (the
// composite image). 8 or 16 bits, gray, gray with alpha, RGB or RGBA as the file has them.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileStb : public ImageSourceDecoded {
public:
    enum Kind { BMP, OTHERS };
    ImageSourceFileStb(DataSourceRef dataSource, Kind kind);
    // BMP only (signature "BM").
    static ImageSourceRef createBmp(DataSourceRef dataSource, Options options);
    // TGA, PNM and PSD.
    static ImageSourceRef createOthers(DataSourceRef dataSource, Options options);
};

}  // namespace loom
