#include "image/UpscaleReference.h"

#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"

namespace loom {

namespace {

void copyColours(const Surface& source, const Surface& output) {
    SurfaceIter in = source.getIter();
    SurfaceIter out = output.getIter();
    while (in.line() && out.line()) {
        while (in.pixel() && out.pixel()) {
            out.r() = in.r();
            out.g() = in.g();
            out.b() = in.b();
        }
    }
}

// Scale2x, then the two 2x passes in place.
Surface scale2xHq(const Surface& source) {
    Surface result = makeScaledSurface(source, 2);
    scale2xReference(source, result);
    carryAlphaReference(source, result, 2);
    isolatedPixelPassReference(result);
    diagonal2xPassReference(result);
    return result;
}

Surface runKernel(const Surface& source, int factor,
                  void (*kernel)(const Surface&, const Surface&)) {
    Surface result = makeScaledSurface(source, factor);
    kernel(source, result);
    carryAlphaReference(source, result, factor);
    return result;
}

}  // namespace

Surface upscaleReference(const Surface& source, int mode) {
    if (!source || mode < 0 || mode >= int(upscalerCatalogue().size())) return Surface();
    checkScaledSize(source, upscalerCatalogue()[size_t(mode)].factor);
    switch (mode) {
    case 0: {
        Surface result = makeScaledSurface(source, 1);
        copyColours(source, result);
        carryAlphaReference(source, result, 1);
        return result;
    }
    case 1: return runKernel(source, 2, scale2xReference);
    case 2: return runKernel(source, 3, scale3xReference);
    case 3: return runKernel(runKernel(source, 2, scale2xReference), 2, scale2xReference);
    case 4: return runKernel(source, 2, eagle2xReference);
    case 5: return scale2xHq(source);
    case 6: {
        Surface result = runKernel(source, 3, scale3xReference);
        corner3xPassReference(result);
        diagonal3xPassReference(result);
        return result;
    }
    default: return runKernel(scale2xHq(source), 2, eagle2xReference);
    }
}

}  // namespace loom
