#include "pipeline/AtlasUpscale.h"

#include <algorithm>
#include <memory>

#include "image/SurfaceParts.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageSourceSurface.h"

namespace loom {

namespace {

// How much of a trimmed frame's transparent surroundings is given to the upscale. Every mode's
// kernels and passes look a pixel or two away and no pass changes an area of one colour, so a
// border this wide gives the frame the pixels it would get inside its whole sprite (the upscale's
// edges, clamped or wrapped, then lie in transparency as the sprite's do); the sprite's side
// beyond the border is left out.
constexpr int32_t SPRITE_BORDER_SEEN = 8;

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
    // Only the transparency the modes can see is made: a sprite's untrimmed size costs nothing.
    const int32_t w = upright.getWidth(), h = upright.getHeight();
    const int32_t left = std::min(frame.offsetX, SPRITE_BORDER_SEEN);
    const int32_t top = std::min(frame.offsetY, SPRITE_BORDER_SEEN);
    const int32_t right = std::min(frame.spriteWidth - frame.offsetX - w, SPRITE_BORDER_SEEN);
    const int32_t bottom = std::min(frame.spriteHeight - frame.offsetY - h, SPRITE_BORDER_SEEN);
    const Surface sprite =
        paddedWithTransparency(upright, left + w + right, top + h + bottom, left, top);
    const Surface cut =
        copyArea(upscale(sprite, upscaler, match, layout),
                 Area(factor * left, factor * top, factor * (left + w), factor * (top + h)));
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
