// ImageTargetFilePng: PNG encoding (libpng). 8-bit colour images of at most 256 colours are
// written indexed (lossless, a quarter of the data, and the artist's palette kept); others as
// gray, RGB or RGBA of 8 or 16 bits. Settings are chosen for pixel art: long runs and repeated
// rows compress well with little effort.
//
// Colour rows are turned into palette indices as they arrive, so an indexed image never needs
// its full-colour copy; only when a 257th colour shows up (or rows come out of order) are the
// rows so far expanded into a full-colour block, and the rest gathered there.
#pragma once

#include <vector>

#include "image/PixelBlock.h"
#include "io/codec/ColorPalette.h"
#include "io/codec/ImageTargetEncoded.h"

namespace loom {

class ImageTargetFilePng : public ImageTargetEncoded {
public:
    ImageTargetFilePng(DataTargetRef dataTarget, const ImageSourceRef& source, const Options& options);
    static ImageTargetRef create(DataTargetRef dataTarget, ImageSourceRef source, Options options,
                                 const std::string& extensionData);

    void* getRowPointer(int32_t row) override;

protected:
    void encode(OStream& out) override;

private:
    // Indexes the row waiting in staged_, or gives up indexing when it does not fit.
    void indexStagedRow();
    // Moves the rows indexed so far, and a staged row, into the full-colour block; indexing
    // stops for good.
    void stopIndexing();

    bool indexing_ = false;
    ColorPalette palette_;
    PixelBlock indices_;  // one byte a pixel, rows 0 .. indexedRows_ - 1
    int32_t indexedRows_ = 0;
    std::vector<uint8_t> staged_;  // the row being written while indexing
    int32_t stagedRow_ = -1;
};

}  // namespace loom
