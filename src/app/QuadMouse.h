// QuadMouse: the mouse's way to the corner quadrilateral. Over a picture without a transform the
// quad is not drawn, so it takes no input at all: its edge bands run along the picture's border
// lines across the whole window and would otherwise catch ordinary moves, presses and drags. The
// pipeline warps again when the corners change; a hover changes just the outline, which is drawn
// every frame from the quad's state.
#pragma once

#include "app/ProcessingPipeline.h"
#include "warp/CornerQuad.h"

namespace loom::app {

class QuadMouse {
public:
    // Both must outlive this object.
    QuadMouse(CornerQuad& quad, ProcessingPipeline& pipeline) : quad_(quad), pipeline_(pipeline) {}

    // Window positions and the buttons held, as for CornerQuad.
    void down(int x, int y, bool left, bool right);
    void up(bool left, bool right);
    void move(int x, int y);
    void drag(int x, int y);

private:
    // The panel's selection counts: the quad is drawn, over a preview of the warp, as soon as a
    // transform is chosen, before its exact result is made.
    bool transformShown() const { return pipeline_.transform != 0; }

    CornerQuad& quad_;
    ProcessingPipeline& pipeline_;
};

}  // namespace loom::app
