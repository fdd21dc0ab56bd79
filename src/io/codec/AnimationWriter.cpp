#include "io/codec/AnimationWriter.h"

#include "io/ImageIoRegistrar.h"
#include "io/Paths.h"
#include "io/codec/ApngAnimationWriter.h"
#include "io/codec/GifAnimationWriter.h"
#include "io/codec/WebpAnimationWriter.h"

namespace loom {

std::unique_ptr<AnimationWriter> openAnimationWriter(const std::string& path, int32_t loopCount,
                                                     const Palette& palette) {
    return openAnimationWriter(openFileTarget(path, false), loopCount, palette);
}

std::unique_ptr<AnimationWriter> openAnimationWriter(DataTargetRef target, int32_t loopCount,
                                                     const Palette& palette) {
    const std::string extension = toLowerAscii(getPathExtension(target->getFilePath()));
    if (extension == "gif")
        return std::make_unique<GifAnimationWriter>(std::move(target), loopCount, palette);
    if (extension == "webp") return std::make_unique<WebpAnimationWriter>(std::move(target), loopCount);
    if (extension == "png") return std::make_unique<ApngAnimationWriter>(std::move(target), loopCount);
    return nullptr;
}

}  // namespace loom
