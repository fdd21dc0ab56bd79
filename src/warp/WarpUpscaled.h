// warpUpscaled(): the warp of an upscaled picture at the picture's own resolution. The quad stays
// in quad space (pixels of the image as loaded) while the picture has factor times as many pixels
// a side; warping on the quad as it is would keep one pixel of every factor x factor block.
#pragma once

#include <array>

#include "image/Surface.h"
#include "math/Vec2.h"

namespace loom {

// warp() of upscaled onto the quad with these corners (in quad space) scaled by factor, the
// upscaler's factor (1 for none): the output has factor times the resolution of the quad's bounding
// rectangle, and the unmoved quad (the loaded image's rectangle) gives upscaled itself.
Surface warpUpscaled(int transformId, const Surface& upscaled, const std::array<Vec2f, 4>& corners,
                     int factor);

}  // namespace loom
