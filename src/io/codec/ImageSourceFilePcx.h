// ImageSourceFilePcx: PCX pictures of the paint programs of the DOS years: 1 bit (black and
// white), 16 colours (four 1-bit planes or one 4-bit plane, with the header's palette), 256
// colours (the palette after the 0x0C marker at the end of the file; a grey ramp without it) and
// 24-bit colour (three 8-bit planes). Run-length coded or plain; each plane's line is padded to
// the header's bytes per line, which is cut off. Always opaque: RGBX.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFilePcx : public ImageSourceDecoded {
public:
    ImageSourceFilePcx(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
