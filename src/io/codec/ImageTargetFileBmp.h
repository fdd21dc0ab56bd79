// ImageTargetFileBmp: BMP encoding, 24-bit BGR, or 32-bit BGRA with a version 4 header whose
// masks declare the alpha channel.
#pragma once

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileBmp : public ImageTargetEncoded {
public:
    ImageTargetFileBmp(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
