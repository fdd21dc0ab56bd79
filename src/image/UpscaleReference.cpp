#include "image/UpscaleReference.h"

#include "image/KernelRows.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"

namespace loom {

namespace {

// The empty recipe: every pixel copied whole into a plain factor x factor block.
Surface plainBlocks(const Surface& source, int factor) {
    Surface result = makeScaledSurface(source, factor);
    const ChannelOrder& from = source.getChannelOrder();
    const ChannelOrder& to = result.getChannelOrder();
    for (int32_t y = 0; y < result.getHeight(); ++y)
        for (int32_t x = 0; x < result.getWidth(); ++x) {
            const uint8_t* in = source.getData(x / factor, y / factor);
            uint8_t* out = result.getData(x, y);
            out[to.red] = in[from.red], out[to.green] = in[from.green], out[to.blue] = in[from.blue];
            if (result.hasAlpha()) out[to.alpha] = in[from.alpha];
        }
    return result;
}

Surface runKernel(Kernel kernel, const Surface& source, PixelMatch match) {
    Surface result = makeScaledSurface(source, kernelFactor(kernel));
    switch (kernel) {
        case Kernel::Scale2x: scale2xReference(source, result, match); break;
        case Kernel::Scale3x: scale3xReference(source, result, match); break;
        case Kernel::Eagle2x: eagle2xReference(source, result, match); break;
        case Kernel::Mmpx2x: mmpx2xReference(source, result, match); break;
    }
    return result;
}

void runPass(RefinePass pass, const Surface& image, PixelMatch match) {
    switch (pass) {
        case RefinePass::IsolatedPixel: return isolatedPixelPassReference(image, match);
        case RefinePass::Diagonal2x: return diagonal2xPassReference(image, match);
        case RefinePass::Corner3x: return corner3xPassReference(image, match);
        case RefinePass::Diagonal3x: return diagonal3xPassReference(image, match);
    }
}

}  // namespace

Surface upscaleReference(const Surface& source, int mode, PixelMatch match) {
    const UpscalerInfo& info = upscalerById(mode);
    if (!source) return Surface();
    checkScaledSize(source, info.factor);
    if (info.recipe.empty()) return plainBlocks(source, info.factor);
    // Each kernel makes a new image, so the passes never touch the source.
    Surface image = source;
    for (const UpscaleStage& stage : info.recipe) {
        image = runKernel(stage.kernel, image, match);
        for (RefinePass pass : stage.passes) runPass(pass, image, match);
    }
    return image;
}

}  // namespace loom
