#include "pipeline/WriteResult.h"

#include "io/ImageFile.h"
#include "io/ImageIoRegistrar.h"
#include "io/ImageSourceSurface.h"
#include "io/Paths.h"

namespace loom {

namespace {

// The formats we write without an alpha channel.
bool holdsNoAlpha(const std::string& extension) {
    const std::string e = toLowerAscii(extension);
    return e == "jpg" || e == "jpeg" || e == "jpe";
}

int64_t pixelsNotOpaque(const Surface& s) {
    if (!s.hasAlpha()) return 0;
    const int alpha = s.getChannelOrder().alpha;
    int64_t count = 0;
    for (int32_t y = 0; y < s.getHeight(); ++y) {
        const uint8_t* p = s.getData(0, y) + alpha;
        for (int32_t x = 0; x < s.getWidth(); ++x, p += s.getPixelInc()) count += *p != 255;
    }
    return count;
}

// What the user should know about result written as path says (see writeResult()).
std::string noteOnWriting(const std::string& path, const Surface& result) {
    const int64_t hidden = holdsNoAlpha(getPathExtension(path)) ? pixelsNotOpaque(result) : 0;
    if (hidden == 0) return {};
    return "the format has no transparency: " + std::to_string(hidden) +
           " transparent or translucent pixels were written opaque, in the colours they hide "
           "(PNG, WebP, TIFF or BMP keep transparency)";
}

ImageTarget::Options targetOptions(const ResultOptions& options) {
    ImageTarget::Options chosen;
    chosen.setQuality(options.quality).setPalette(options.palette);
    return chosen;
}

}  // namespace

std::string writeResult(const std::string& path, const Surface& result, const ResultOptions& options) {
    writeImage(path, std::make_shared<ImageSourceSurface>(result), targetOptions(options));
    return noteOnWriting(path, result);
}

std::string writeResult(const DataTargetRef& target, const Surface& result,
                        const ResultOptions& options) {
    writeImage(target, std::make_shared<ImageSourceSurface>(result), targetOptions(options));
    return noteOnWriting(target->getFilePath(), result);
}

}  // namespace loom
