// ImageSourceFileIff: the IFF pictures of Deluxe Paint and its successors: ILBM (1 to 8
// bitplanes, or 24 for true colour, each plane's row padded to 16 pixels) and PBM (one byte a
// pixel, rows padded to an even length), plain or ByteRun1-compressed. Colours come from CMAP
// (black past its end; the upper half at half brightness in extra-half-brite pictures). A mask
// plane, or the header's transparent colour, makes pixels transparent, keeping their colour:
// RGBA then, RGBX otherwise. Hold-and-modify pictures are refused.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileIff : public ImageSourceDecoded {
public:
    ImageSourceFileIff(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
