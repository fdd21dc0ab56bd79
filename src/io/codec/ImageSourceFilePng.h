// ImageSourceFilePng: PNG decoding (libpng). 8 and 16 bits, gray, gray with alpha, RGB, RGBA,
// palettes (RGBA when they carry transparency), interlaced.
//
// Construction checks the signature and the header; load() decodes, handing each row to the
// target as it comes, so a large image is never held twice. Broken pixel data is therefore
// reported by load(). create() hands a PNG that announces an animation to ImageSourceFileApng.
#pragma once

#include "io/Buffer.h"
#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFilePng : public ImageSource {
public:
    ImageSourceFilePng(DataSourceRef dataSource, Options options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
    void load(ImageTargetRef target) override;

private:
    Buffer bytes_;  // the file, kept for decoding
    int32_t rowBytes_ = 0;
};

}  // namespace loom
