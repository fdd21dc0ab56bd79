// Surface: the one in-memory image type. A cheap handle: copies share the pixels, which live in a
// reference-counted PixelStore freed with the last handle. The default handle is null, the
// system's "no image" value. New pixel blocks are not cleared.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "image/Channel.h"
#include "image/ChannelOrder.h"
#include "image/PixelBlock.h"
#include "image/SurfaceConstraints.h"
#include "image/SurfaceIter.h"
#include "math/Rect.h"

namespace loom {

// Defined with the image I/O layer, which makes surfaces from decoded images.
class ImageSource;
using ImageSourceRef = std::shared_ptr<ImageSource>;

template <typename T>
class SurfaceT {
public:
    // The null surface.
    SurfaceT() = default;
    // UNSPECIFIED becomes RGBA with alpha, RGB without; any other order is used as given (alpha is
    // then ignored). Rows are packed. Throws std::length_error for sizes that overflow and
    // std::bad_alloc when memory runs out.
    SurfaceT(int32_t width, int32_t height, bool alpha, ChannelOrder order = ChannelOrder());
    // Order and row length from the policy.
    SurfaceT(int32_t width, int32_t height, bool alpha, const SurfaceConstraints& constraints);
    // Decodes source into a new surface laid out by constraints; alpha defaults to the source's.
    // Needs loom_io, where it is defined; throws what the source's load throws.
    explicit SurfaceT(ImageSourceRef source,
                      const SurfaceConstraints& constraints = SurfaceConstraintsDefault(),
                      std::optional<bool> alpha = {});

    explicit operator bool() const { return store_ != nullptr; }
    bool isNull() const { return store_ == nullptr; }
    // True when both handles share one store (or both are null).
    bool sharesPixelsWith(const SurfaceT& o) const { return store_ == o.store_; }

    int32_t getWidth() const { return store_->width; }
    int32_t getHeight() const { return store_->height; }
    Area getBounds() const { return Area(0, 0, getWidth(), getHeight()); }
    int32_t getRowBytes() const { return store_->rowBytes; }
    T* getData() const { return store_->data; }
    T* getData(int32_t x, int32_t y) const {
        return reinterpret_cast<T*>(reinterpret_cast<uint8_t*>(store_->data) +
                                    int64_t(y) * store_->rowBytes) +
               int64_t(x) * store_->order.increment;
    }
    const ChannelOrder& getChannelOrder() const { return store_->order; }
    uint8_t getPixelInc() const { return store_->order.increment; }
    bool hasAlpha() const { return store_->order.hasAlpha(); }
    bool isPremultiplied() const { return store_->premultiplied; }
    void setPremultiplied(bool premultiplied) { store_->premultiplied = premultiplied; }

    ChannelT<T>& getChannelRed() const { return store_->red; }
    ChannelT<T>& getChannelGreen() const { return store_->green; }
    ChannelT<T>& getChannelBlue() const { return store_->blue; }
    // Null when the surface has no alpha.
    ChannelT<T>& getChannelAlpha() const { return store_->alpha; }

    SurfaceIterT<T> getIter() const { return getIter(getBounds()); }
    SurfaceIterT<T> getIter(const Area& area) const {
        return SurfaceIterT<T>(store_->data, store_->width, store_->height, store_->rowBytes,
                               store_->order, area);
    }

    // Mirrors the rows in place; the middle row of an odd height stays.
    void flipVertical();

private:
    struct PixelStore {
        int32_t width = 0;
        int32_t height = 0;
        int32_t rowBytes = 0;
        bool premultiplied = false;
        T* data = nullptr;
        bool ownsData = true;
        ChannelOrder order;
        ChannelT<T> red, green, blue, alpha;
        PixelBlock block;  // frees data
    };

    void init(int32_t width, int32_t height, int32_t rowBytes, const ChannelOrder& order);

    std::shared_ptr<PixelStore> store_;
};

using Surface = SurfaceT<uint8_t>;

extern template class SurfaceT<uint8_t>;

}  // namespace loom
