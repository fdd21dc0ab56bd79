// ImageSourceFileGif: GIF decoding (giflib). The frame the load options' index names (0, the
// first, by default), composed over the frames before it as their disposal modes say; RGBA when
// any pixel is transparent, RGBX otherwise.
#pragma once

#include "io/codec/ImageSourceDecoded.h"

namespace loom {

class ImageSourceFileGif : public ImageSourceDecoded {
public:
    ImageSourceFileGif(DataSourceRef dataSource, Options options);
    static ImageSourceRef create(DataSourceRef dataSource, Options options);
};

}  // namespace loom
