#include "io/codec/ImageSourceFileStb.h"

#include <stb/stb_image.h>

#include <cstring>
#include <memory>
#include <string>

#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"

namespace loom {

namespace {

struct StbFree {
    void operator()(void* p) const { stbi_image_free(p); }
};

}  // namespace

ImageSourceFileStb::ImageSourceFileStb(DataSourceRef dataSource, const Options& options)
    : ImageSourceDecoded(options) {
    const Buffer bytes = requireSignature(dataSource, "8BPS", 4, "PSD");
    const auto* data = static_cast<const stbi_uc*>(bytes.getData());
    const int size = bytes.getDataSize();
    const std::string prefix = "PSD: ";
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels))
        throw ImageIoFailedLoadExc(prefix + stbi_failure_reason());
    if (channels < 1 || channels > 4) throw ImageIoFailedLoadExc(prefix + "unsupported channel count");
    requireWithinLimits(width, height);  // and enlarged, before the decoder fills its own copy
    // Run-length coding packs at most 128 samples into 2 bytes; a file too small for its pixels
    // is cut short (the decoder would fill the missing part with zeros at length).
    if (int64_t(width) * height > int64_t(size) * 64)
        throw ImageIoFailedLoadExc(prefix + "truncated data");
    const bool wide = stbi_is_16_bit_from_memory(data, size) != 0;
    int w = 0, h = 0, n = 0;
    std::unique_ptr<void, StbFree> pixels(
        wide ? static_cast<void*>(stbi_load_16_from_memory(data, size, &w, &h, &n, 0))
             : static_cast<void*>(stbi_load_from_memory(data, size, &w, &h, &n, 0)));
    if (!pixels) throw ImageIoFailedLoadExc(prefix + stbi_failure_reason());
    if (w != width || h != height || n != channels)
        throw ImageIoFailedLoadExc(prefix + "inconsistent header");
    static const SampleOrder orders[5] = {SO_UNKNOWN, Y, YA, RGB_ORDER, RGBA};
    allocatePixels(w, h, n >= 3 ? RGB : GRAY, wide ? UINT16 : UINT8, orders[n]);
    std::memcpy(getPixels(), pixels.get(), size_t(getRowBytes()) * size_t(h));
}

ImageSourceRef ImageSourceFileStb::create(DataSourceRef dataSource, Options options) {
    return std::make_shared<ImageSourceFileStb>(std::move(dataSource), options);
}

}  // namespace loom
