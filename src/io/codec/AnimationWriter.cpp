#include "io/codec/AnimationWriter.h"

#include "io/ImageIoRegistrar.h"
#include "io/Paths.h"
#include "io/codec/ApngAnimationWriter.h"
#include "io/codec/GifAnimationWriter.h"
#include "io/codec/WebpAnimationWriter.h"

namespace loom {

std::unique_ptr<AnimationWriter> openAnimationWriter(const std::string& path, int32_t loopCount,
                                                     const Palette& palette) {
    const std::string extension = toLowerAscii(getPathExtension(path));
    if (extension == "gif") return std::make_unique<GifAnimationWriter>(path, loopCount, palette);
    if (extension == "webp") return std::make_unique<WebpAnimationWriter>(path, loopCount);
    if (extension == "png") return std::make_unique<ApngAnimationWriter>(path, loopCount);
    return nullptr;
}

}  // namespace loom
