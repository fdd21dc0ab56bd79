#include "image/Upscale.h"

#include "image/ImageLimits.h"
#include "image/SurfaceExc.h"
#include "image/UpscaleFast.h"
#include "image/UpscalerCatalogue.h"

namespace loom {

void checkScaledSize(const Surface& source, int factor) {
    checkImageLimits(source.getWidth(), source.getHeight(), factor);
}

Surface makeScaledSurface(const Surface& source, int factor) {
    // A surface whose order names no colour channels has nothing an upscaler could read.
    if (source.getChannelOrder().red == ChannelOrder::NO_CHANNEL) throw SurfaceConstraintsExc();
    checkScaledSize(source, factor);
    Surface result(source.getWidth() * factor, source.getHeight() * factor, source.hasAlpha());
    // Pixels are copied, never blended, so they keep the source's representation.
    result.setPremultiplied(source.isPremultiplied());
    return result;
}

Surface upscale(const Surface& source, int mode, PixelMatch match) {
    return upscaleWith(source, mode, bestKernelPath(), match);
}

Surface upscale(const Surface& source, int mode, PixelMatch match, const SheetLayout& layout) {
    const KernelPath path = bestKernelPath();
    const int factor = upscalerById(mode).factor;
    const int blocks = plainBlocksUpscaler(factor);
    return upscaleLaidOut(
        source, factor, layout, [&](const Surface& s) { return upscaleWith(s, mode, path, match); },
        [&](const Surface& s) { return upscaleWith(s, blocks, path, match); });
}

}  // namespace loom
