// ImageTargetFileGif: GIF encoding (giflib) of one picture of at most 256 colours whose pixels
// are opaque or fully transparent, as pixel art nearly always is. Any other picture is refused
// with the reason before the file is touched.
#pragma once

#include "io/codec/GifIndexedFrame.h"
#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFileGif : public ImageTargetEncoded {
public:
    ImageTargetFileGif(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

    void* getRowPointer(int32_t row) override { return frame_.getRowPointer(row); }
    // Refuses a last row GIF cannot hold before the file is opened.
    void finalize() override;

protected:
    void encode(OStream& out) override;

private:
    GifIndexedFrame frame_;
};

}  // namespace loom
