// ImageTarget: the receiving side of a pixel transfer. It says where each row goes, in its own
// layout; finalize() runs once after the last row.
#pragma once

#include <memory>
#include <utility>

#include "io/ImageIo.h"
#include "io/Palette.h"

namespace loom {

class ImageTarget : public ImageIo {
public:
    // Passed by the callers of writeImage through the registrar to the encoders.
    struct Options {
        float quality = 0.9f;              // 0 to 1, for formats with a quality setting
        bool keepSourceColorModel = true;  // else colorModel below is used
        ColorModel colorModel = RGB;
        // The source's colour table: an indexed format writes a picture whose colours all are in
        // it with this table, in its order.
        Palette palette;

        Options& setQuality(float q) { return quality = q, *this; }
        Options& setPalette(Palette p) { return palette = std::move(p), *this; }
    };

    // Where the target wants row `row` written, in its own layout.
    virtual void* getRowPointer(int32_t row) = 0;
    // A row-setting alternative nothing here uses; the base refuses it.
    virtual void setRow(int32_t row, const void* data);
    // Called once after the last row.
    virtual void finalize() {}
    // False for a target that reads the source's rows in place itself while it finalizes: the
    // source's load() is then not called.
    virtual bool wantsRowsPushed() const { return true; }
};

using ImageTargetRef = std::shared_ptr<ImageTarget>;

}  // namespace loom
