// ImageSourceSurface: a Surface as the giving side of a transfer, used to save it. Keeps the
// surface's pixels alive.
#pragma once

#include <memory>

#include "image/Surface.h"
#include "io/ImageSource.h"

namespace loom {

class ImageSourceSurface : public ImageSource {
public:
    // Throws ImageIoExc for a null surface.
    explicit ImageSourceSurface(const Surface& surface);
    // Rows straight from the surface; does not call the target's finalize().
    void load(ImageTargetRef target) override;
    RowsInPlace getRowsInPlace() const override { return {data_, rowBytes_}; }

private:
    Surface surface_;
    const uint8_t* data_;
    int32_t rowBytes_;
};

using ImageSourceSurfaceRef = std::shared_ptr<ImageSourceSurface>;

}  // namespace loom
