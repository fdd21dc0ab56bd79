#include "image/Surface.h"

#include <cstring>
#include <vector>

#include "image/SizeCheck.h"

namespace loom {

template <typename T>
SurfaceT<T>::SurfaceT(int32_t width, int32_t height, bool alpha, ChannelOrder order) {
    if (order.code == ChannelOrder::UNSPECIFIED)
        order = ChannelOrder(alpha ? ChannelOrder::RGBA : ChannelOrder::RGB);
    int32_t rowBytes =
        checkedInt32(checkedProduct({width, order.increment, int64_t(sizeof(T))}), "row length");
    init(width, height, rowBytes, order);
}

template <typename T>
SurfaceT<T>::SurfaceT(int32_t width, int32_t height, bool alpha, const SurfaceConstraints& constraints) {
    ChannelOrder order = constraints.channelOrderFor(alpha);
    init(width, height, constraints.rowBytesFor(width, order, sizeof(T)), order);
}

template <typename T>
void SurfaceT<T>::init(int32_t width, int32_t height, int32_t rowBytes, const ChannelOrder& order) {
    const int64_t bytes = checkedProduct({height, rowBytes});
    checkedProduct({width});  // rejects a negative width
    auto store = std::make_shared<PixelStore>();
    store->block = allocatePixelBlock(static_cast<size_t>(bytes));
    store->width = width;
    store->height = height;
    store->rowBytes = rowBytes;
    store->data = reinterpret_cast<T*>(store->block.get());
    store->order = order;
    auto view = [&](uint8_t offset) {
        return ChannelT<T>(width, height, rowBytes, order.increment,
                           reinterpret_cast<T*>(store->block.get() + offset));
    };
    if (store->data) {
        store->red = view(order.red);
        store->green = view(order.green);
        store->blue = view(order.blue);
        if (order.hasAlpha()) store->alpha = view(order.alpha);
    } else {
        // An empty image: views with nothing to visit.
        store->red = store->green = store->blue =
            ChannelT<T>(width, height, rowBytes, order.increment, nullptr);
        if (order.hasAlpha()) store->alpha = store->red;
    }
    store_ = std::move(store);
}

template <typename T>
void SurfaceT<T>::flipVertical() {
    const int32_t h = getHeight();
    const size_t rowBytes = static_cast<size_t>(getRowBytes());
    std::vector<uint8_t> tmp(rowBytes);
    auto row = [&](int32_t y) { return reinterpret_cast<uint8_t*>(store_->data) + y * rowBytes; };
    for (int32_t i = 0; i < h / 2; ++i) {
        std::memcpy(tmp.data(), row(i), rowBytes);
        std::memcpy(row(i), row(h - 1 - i), rowBytes);
        std::memcpy(row(h - 1 - i), tmp.data(), rowBytes);
    }
}

template class SurfaceT<uint8_t>;

}  // namespace loom
