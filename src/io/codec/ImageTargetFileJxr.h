// ImageTargetFileJxr: JPEG XR (Windows Media Photo, ".wmp") encoding with jxrlib: 8-bit BGR or
// BGRA, 16-bit RGB or RGBA, 8 or 16-bit gray. Quality 1 is lossless; below it the quantiser
// grows as the quality falls.
#pragma once

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileJxr : public ImageTargetEncoded {
public:
    ImageTargetFileJxr(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
