// ImageTargetSurface: a Surface as the receiving side of a transfer, used by the loading
// constructor. It refers to the surface and must not outlive it.
#pragma once

#include <memory>

#include "image/Surface.h"
#include "io/ImageTarget.h"

namespace loom {

template <typename T>
class ImageTargetSurface : public ImageTarget {
public:
    explicit ImageTargetSurface(SurfaceT<T>* surface) : surface_(surface) {
        setSize(surface->getWidth(), surface->getHeight());
        setColorModel(RGB);
        setDataType(UINT8);
        const int code = surface->getChannelOrder().code;
        setSampleOrder(code >= 0 && code <= 9 ? static_cast<SampleOrder>(code) : SO_UNKNOWN);
    }

    bool hasAlpha() const override { return surface_->hasAlpha(); }
    void* getRowPointer(int32_t row) override {
        return reinterpret_cast<uint8_t*>(surface_->getData()) + int64_t(row) * surface_->getRowBytes();
    }

private:
    SurfaceT<T>* surface_;
};

}  // namespace loom
