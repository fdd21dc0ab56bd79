// ImageTargetFileWebp: WebP encoding (libwebp), always lossless and exact (the colour of fully
// transparent pixels kept), as pixel art wants.
#pragma once

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileWebp : public ImageTargetEncoded {
public:
    ImageTargetFileWebp(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
