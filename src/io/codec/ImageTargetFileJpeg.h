// ImageTargetFileJpeg: JPEG encoding (libjpeg-turbo), 8-bit colour or gray; alpha is dropped,
// as the format has none. The quality option 0 to 1 becomes the encoder's 1 to 100.
#pragma once

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileJpeg : public ImageTargetEncoded {
public:
    ImageTargetFileJpeg(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
