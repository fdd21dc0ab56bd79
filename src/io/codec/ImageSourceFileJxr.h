// ImageSourceFileJxr: JPEG XR (Windows Media Photo) decoding with jxrlib: 8-bit RGB, BGR, BGRX,
// BGRA, RGBA and gray, 16-bit gray, RGB and RGBA. Other pixel formats are refused. The library
// runs in a child process, since it ends the process on some broken files.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileJxr : public ImageSourceDecoded {
public:
    ImageSourceFileJxr(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
