// ImageSourceFileQoi: the "Quite OK Image" format: a 14-byte header, then the pixels as a stream
// of six op codes (a whole pixel, a pixel from the 64-entry recent-colour table, small
// differences from the previous pixel, a run of it), then an 8-byte end marker. RGBA when the file
// says four channels and a pixel is transparent, RGBX otherwise.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileQoi : public ImageSourceDecoded {
public:
    ImageSourceFileQoi(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
