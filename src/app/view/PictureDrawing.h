// Drawing the picture: centred at the zoom (no transform), or pinned on the quadrilateral with its
// outline and handles over it, either way over the backdrop where it is transparent. While the quad
// moves, the GPU draws the upscale on its corners as a preview until the exact warp is made.
#pragma once

#include "app/view/ShownPictures.h"
#include "app/view/View.h"
#include "app/work/ProcessingPipeline.h"
#include "warp/CornerQuad.h"

namespace loom::app {

// What one frame draws of the picture; the quad's view is set for this frame already.
struct PictureScene {
    const View& view;
    const CornerQuad& quad;
    const ProcessingPipeline& pipeline;
    const ShownPictures& pictures;
    Vec2f window;
    int pictureWidth = 0;  // the frame shown, in source pixels; 0 before any
    int pictureHeight = 0;
    bool previous = false;   // space held: the previous picture instead of the result
    bool exactWarp = false;  // the result shown is the warp the selections and corners ask for
};

void drawPicture(const PictureScene& scene);

}  // namespace loom::app
