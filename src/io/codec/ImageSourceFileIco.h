// ImageSourceFileIco: Windows icons and cursors (ICO and CUR). The file is a directory of
// pictures, each a PNG stream or a headerless BMP (1, 4 or 8 bits with a palette, 24 or 32 bits)
// followed by a 1-bit mask that makes pixels transparent where the picture has no alpha of its
// own (a 32-bit picture whose alpha is zero everywhere has none). The pictures are the source's
// pages: the one the load options name, or by default the largest (most pixels, then most bits a
// pixel; the first of equals). RGBA when a pixel is transparent, RGBX otherwise.
#pragma once

#include "io/codec/ByteReader.h"
#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileIco : public ImageSourceDecoded {
public:
    ImageSourceFileIco(DataSourceRef dataSource, const Options& options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);

private:
    void decodePng(const ByteReader& picture);
    void decodeBitmap(ByteReader picture);

    std::string format_;  // ICO or CUR, for messages
};

}  // namespace loom
