#include "io/ImageSourceSurface.h"

#include "io/ImageIoExc.h"

namespace loom {

ImageSourceSurface::ImageSourceSurface(const Surface& surface) : surface_(surface) {
    if (!surface) throw ImageIoExc("there is no image to write");
    data_ = surface.getData();
    rowBytes_ = surface.getRowBytes();
    setSize(surface.getWidth(), surface.getHeight());
    setColorModel(RGB);
    setDataType(UINT8);
    const int code = surface.getChannelOrder().code;
    setSampleOrder(code >= 0 && code <= 9 ? static_cast<SampleOrder>(code) : SO_UNKNOWN);
}

void ImageSourceSurface::load(ImageTargetRef target) {
    setupRowFunc(*target);
    for (int32_t row = 0; row < getHeight(); ++row)
        processRow(*target, row, data_ + int64_t(row) * rowBytes_);
}

}  // namespace loom
