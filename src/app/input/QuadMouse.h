// QuadMouse: the mouse's way to the corner quadrilateral. Over a picture without a transform the
// quad is not drawn, so it takes no input at all: its edge bands run along the picture's border
// lines across the whole window and would otherwise catch ordinary moves, presses and drags. The
// pipeline warps again when the corners change; a hover changes just the outline, which is drawn
// every frame from the quad's state. A drag, from the first press to the release of the last
// button, is one step of the history.
#pragma once

#include <array>
#include <optional>

#include "app/work/ProcessingPipeline.h"
#include "warp/CornerQuad.h"
#include "warp/QuadHistory.h"

namespace loom::app {

class QuadMouse {
public:
    // All three must outlive this object.
    QuadMouse(CornerQuad& quad, ProcessingPipeline& pipeline, QuadHistory& history)
        : quad_(quad), pipeline_(pipeline), history_(history) {}

    // Window positions and the buttons held, as for CornerQuad, with its rotation's choices.
    void down(int x, int y, bool left, bool right, bool aboutCentre = false);
    void up(bool left, bool right);
    void move(int x, int y);
    void drag(int x, int y, bool snapped = false);

private:
    CornerQuad& quad_;
    ProcessingPipeline& pipeline_;
    QuadHistory& history_;
    // The corners at the first press of the drag under way; none between drags.
    std::optional<std::array<Vec2f, 4>> cornersAtPress_;
};

}  // namespace loom::app
