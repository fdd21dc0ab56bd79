// ImageTargetFileTiff: TIFF encoding (libtiff), LZW-compressed gray, RGB or RGBA (unassociated
// alpha) of 8 or 16 bits.
#pragma once

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileTiff : public ImageTargetEncoded {
public:
    ImageTargetFileTiff(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;
};

}  // namespace loom
