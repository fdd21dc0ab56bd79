#include "io/codec/ImageSourceFileWebp.h"

#include <webp/decode.h>

#include <cstring>
#include <memory>

#include "io/ImageIoExc.h"

namespace loom {

ImageSourceFileWebp::ImageSourceFileWebp(DataSourceRef dataSource, Options) {
    Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const uint8_t*>(bytes.getData());
    const size_t size = size_t(bytes.getDataSize());
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        throw ImageIoNotThisFormatExc("not a WebP file");
    WebPBitstreamFeatures features;
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK)
        throw ImageIoFailedLoadExc("WebP: broken header");
    if (features.has_animation) throw ImageIoFailedLoadExc("WebP: animations are not supported");
    const bool alpha = features.has_alpha != 0;
    allocatePixels(features.width, features.height, RGB, UINT8, alpha ? RGBA : RGB_ORDER);
    const size_t total = size_t(getRowBytes()) * size_t(getHeight());
    const uint8_t* done = alpha ? WebPDecodeRGBAInto(data, size, getPixels(), total, getRowBytes())
                                : WebPDecodeRGBInto(data, size, getPixels(), total, getRowBytes());
    if (!done) throw ImageIoFailedLoadExc("WebP: broken or truncated data");
}

ImageSourceRef ImageSourceFileWebp::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileWebp>(std::move(dataSource), options);
}

}  // namespace loom
