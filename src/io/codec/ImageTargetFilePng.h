// ImageTargetFilePng: PNG encoding in the smallest exact form PngRowFormat finds (a palette of
// 1 to 8 bits for pixel art), compressed with zlib in pieces on two threads (ZlibPieces). Rows of a
// source that keeps them in memory (a surface) are read there twice, once to survey and once to encode,
// so writing needs no copy of the image; other sources' rows are gathered first.
#pragma once

#include <vector>

#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFilePng : public ImageTargetEncoded {
public:
    ImageTargetFilePng(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

protected:
    void encode(OStream& out) override;

private:
    const uint8_t* sourceRow(int32_t row) const;
};

}  // namespace loom
