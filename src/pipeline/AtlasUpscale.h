// upscaleByFrames(): a sprite sheet enlarged frame by frame, as its atlas cuts it, so no sprite's
// outline is shaped by its neighbours in the sheet.
#pragma once

#include <vector>

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "image/Surface.h"
#include "pipeline/Atlas.h"

namespace loom {

// The sheet enlarged by upscaler with match, each of the frames (from framesOnSheet()) as a picture
// of its own with its edges as the rule says: a trimmed frame inside its untrimmed sprite padded
// with transparency, so its outline ends where the sprite's does, then cut back; a rotated frame
// upright, then turned back. The pixels outside every frame become plain blocks. A sheet without
// alpha gives a result with alpha when a frame is trimmed. Throws what upscale() throws.
Surface upscaleByFrames(const Surface& sheet, const std::vector<AtlasFrame>& frames, int upscaler,
                        PixelMatch match, EdgeRule edges);

}  // namespace loom
