// ImageSourceFilePnm: the netpbm formats. PBM, PGM and PPM, plain (P1, P2, P3) and raw (P4, P5,
// P6), and PAM (P7) with the tuple types BLACKANDWHITE, GRAYSCALE and RGB and their _ALPHA forms.
// Samples of any maxval up to 65534 are scaled to 8 bits, rounding; a maxval of 65535 keeps its
// 16-bit samples, which the row converters reduce as they reduce every 16-bit image. Bitmaps
// (P1, P4) come as gray, 1 being black. Of several images in one file the first is read.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFilePnm : public ImageSourceDecoded {
public:
    ImageSourceFilePnm(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
