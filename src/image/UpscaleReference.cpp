#include "image/UpscaleReference.h"

#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"

namespace loom {

namespace {

using KernelFn = void (*)(const Surface&, const Surface&, PixelMatch);

// Mode 0: every pixel copied whole.
Surface copyPixels(const Surface& source) {
    Surface result = makeScaledSurface(source, 1);
    SurfaceIter in = source.getIter();
    SurfaceIter out = result.getIter();
    const bool alpha = result.hasAlpha();
    while (in.line() && out.line()) {
        while (in.pixel() && out.pixel()) {
            out.r() = in.r();
            out.g() = in.g();
            out.b() = in.b();
            if (alpha) out.a() = in.a();
        }
    }
    return result;
}

Surface runKernel(const Surface& source, int factor, KernelFn kernel, PixelMatch match) {
    Surface result = makeScaledSurface(source, factor);
    kernel(source, result, match);
    return result;
}

// Scale2x, then the two 2x passes in place.
Surface scale2xHq(const Surface& source, PixelMatch match) {
    Surface result = runKernel(source, 2, scale2xReference, match);
    isolatedPixelPassReference(result, match);
    diagonal2xPassReference(result, match);
    return result;
}

}  // namespace

Surface upscaleReference(const Surface& source, int mode, PixelMatch match) {
    if (!source || mode < 0 || mode >= int(upscalerCatalogue().size())) return Surface();
    checkScaledSize(source, upscalerCatalogue()[size_t(mode)].factor);
    switch (mode) {
    case 0: return copyPixels(source);
    case 1: return runKernel(source, 2, scale2xReference, match);
    case 2: return runKernel(source, 3, scale3xReference, match);
    case 3: return runKernel(runKernel(source, 2, scale2xReference, match), 2, scale2xReference, match);
    case 4: return runKernel(source, 2, eagle2xReference, match);
    case 5: return scale2xHq(source, match);
    case 6: {
        Surface result = runKernel(source, 3, scale3xReference, match);
        corner3xPassReference(result, match);
        diagonal3xPassReference(result, match);
        return result;
    }
    default: return runKernel(scale2xHq(source, match), 2, eagle2xReference, match);
    }
}

}  // namespace loom
