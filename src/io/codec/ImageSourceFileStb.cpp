#include "io/codec/ImageSourceFileStb.h"

#include <stb/stb_image.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "image/ImageLimits.h"
#include "io/ImageIoExc.h"
#include "io/codec/EndianBytes.h"

namespace loom {

namespace {

bool looksLikeTga(const uint8_t* d, size_t size) {
    if (size < 18) return false;
    const bool colorMapOk = d[1] == 0 || d[1] == 1;
    const int type = d[2];
    const bool typeOk = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
    const int depth = d[16];
    return colorMapOk && typeOk &&
           (depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32);
}

// The format name when the data is one of the kind's formats, else null.
const char* formatOf(const uint8_t* d, size_t size, ImageSourceFileStb::Kind kind) {
    if (kind == ImageSourceFileStb::BMP)
        return size >= 2 && d[0] == 'B' && d[1] == 'M' ? "BMP" : nullptr;
    if (size >= 4 && std::memcmp(d, "8BPS", 4) == 0) return "PSD";
    if (size >= 2 && d[0] == 'P' && (d[1] == '5' || d[1] == '6')) return "PNM";
    return looksLikeTga(d, size) ? "TGA" : nullptr;
}

// The decoder fills missing rows with black without a word; an uncompressed file shorter than its
// header promises is reported instead.
void refuseTruncatedBmp(const uint8_t* d, size_t size) {
    if (size < 34 || littleEndian32(d + 14) < 40) return;  // old headers: left to the decoder
    const int64_t width = std::abs(int64_t(int32_t(littleEndian32(d + 18))));
    const int64_t height = std::abs(int64_t(int32_t(littleEndian32(d + 22))));
    const int64_t bits = littleEndian16(d + 28);
    const uint32_t compression = littleEndian32(d + 30);
    if (!withinImageLimits(width, height))
        throw ImageIoFailedLoadExc(std::string("BMP: ") + ImageTooLargeExc(width, height).what());
    if (compression != 0 && compression != 3 && compression != 6) return;
    const int64_t rowBytes = (width * bits + 31) / 32 * 4;
    if (int64_t(littleEndian32(d + 10)) + rowBytes * height > int64_t(size))
        throw ImageIoFailedLoadExc("BMP: truncated data");
}

struct StbFree {
    void operator()(void* p) const { stbi_image_free(p); }
};

}  // namespace

ImageSourceFileStb::ImageSourceFileStb(DataSourceRef dataSource, Kind kind) {
    Buffer bytes = dataSource->getBuffer();
    const auto* data = static_cast<const stbi_uc*>(bytes.getData());
    const int size = bytes.getDataSize();
    const char* format = formatOf(data, size_t(size), kind);
    if (!format)
        throw ImageIoNotThisFormatExc(kind == BMP ? "not a BMP file" : "not a TGA, PNM or PSD file");
    const std::string prefix = std::string(format) + ": ";
    if (kind == BMP) refuseTruncatedBmp(data, size_t(size));
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, size, &width, &height, &channels))
        throw ImageIoFailedLoadExc(prefix + stbi_failure_reason());
    if (!withinImageLimits(width, height) || channels < 1 || channels > 4)
        throw ImageIoFailedLoadExc(prefix + ImageTooLargeExc(width, height).what());
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

ImageSourceRef ImageSourceFileStb::createBmp(DataSourceRef dataSource, Options) {
    return std::make_shared<ImageSourceFileStb>(std::move(dataSource), BMP);
}

ImageSourceRef ImageSourceFileStb::createOthers(DataSourceRef dataSource, Options) {
    return std::make_shared<ImageSourceFileStb>(std::move(dataSource), OTHERS);
}

}  // namespace loom
