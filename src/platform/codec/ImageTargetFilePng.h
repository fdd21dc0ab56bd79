// ImageTargetFilePng: PNG encoding (libpng). 8-bit colour images of at most 256 colours are
// written indexed (lossless, a quarter of the data, and the artist's palette kept); others as
// gray, RGB or RGBA of 8 or 16 bits. Settings are chosen for pixel art: long runs and repeated
// rows compress well with little effort.
#pragma once

#include "platform/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFilePng : public ImageTargetEncoded {
public:
    ImageTargetFilePng(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
