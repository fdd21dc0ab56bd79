#include "pipeline/AtlasUpscale.h"

#include <algorithm>
#include <memory>

#include "image/SurfaceParts.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageSourceSurface.h"

namespace loom {

namespace {

bool isTrimmed(const AtlasFrame& frame) {
    const int32_t w = frame.stored.getWidth(), h = frame.stored.getHeight();
    return frame.spriteWidth != (frame.rotated ? h : w) || frame.spriteHeight != (frame.rotated ? w : h);
}

// The frame upscaled alone, as it is stored in the sheet.
Surface upscaleFrame(const Surface& sheet, const AtlasFrame& frame, int upscaler, int factor,
                     PixelMatch match, EdgeRule edges) {
    Surface upright = copyArea(sheet, frame.stored);
    if (frame.rotated) upright = turnedCounterClockwise(upright);
    const SheetLayout layout{edges, {}};
    if (!isTrimmed(frame)) {
        const Surface upscaled = upscale(upright, upscaler, match, layout);
        return frame.rotated ? turnedClockwise(upscaled) : upscaled;
    }
    const Surface sprite = paddedWithTransparency(upright, frame.spriteWidth, frame.spriteHeight,
                                                  frame.offsetX, frame.offsetY);
    const Surface cut = copyArea(upscale(sprite, upscaler, match, layout),
                                 Area(factor * frame.offsetX, factor * frame.offsetY,
                                      factor * (frame.offsetX + upright.getWidth()),
                                      factor * (frame.offsetY + upright.getHeight())));
    return frame.rotated ? turnedClockwise(cut) : cut;
}

}  // namespace

Surface upscaleByFrames(const Surface& sheet, const std::vector<AtlasFrame>& frames, int upscaler,
                        PixelMatch match, EdgeRule edges) {
    if (!sheet) return Surface();
    // Padding a trimmed frame needs transparency: an opaque sheet gains an alpha channel.
    const bool needsAlpha = !sheet.hasAlpha() && std::any_of(frames.begin(), frames.end(), isTrimmed);
    const Surface source = needsAlpha ? Surface(std::make_shared<ImageSourceSurface>(sheet),
                                                SurfaceConstraintsDefault(), true)
                                      : sheet;
    const int factor = upscalerById(upscaler).factor;
    Surface result = upscale(source, plainBlocksUpscaler(factor), match);
    for (const AtlasFrame& frame : frames) {
        const Surface upscaled = upscaleFrame(source, frame, upscaler, factor, match, edges);
        pasteArea(upscaled, upscaled.getBounds(), result, factor * frame.stored.x1,
                  factor * frame.stored.y1);
    }
    return result;
}

}  // namespace loom
