#include "image/Upscale.h"

#include "image/ImageLimits.h"
#include "image/SizeCheck.h"
#include "image/UpscaleFast.h"

namespace loom {

void checkScaledSize(const Surface& source, int factor) {
    checkImageLimits(checkedProduct({source.getWidth(), factor}),
                     checkedProduct({source.getHeight(), factor}));
}

Surface makeScaledSurface(const Surface& source, int factor) {
    checkScaledSize(source, factor);
    return Surface(source.getWidth() * factor, source.getHeight() * factor, source.hasAlpha());
}

Surface upscale(const Surface& source, int mode) {
    return upscaleWith(source, mode, bestKernelPath());
}

}  // namespace loom
