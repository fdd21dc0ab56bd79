// QuadKeys: the keyboard's way to the corner quadrilateral: a nudge of the hovered corner, a reset
// onto the picture, undo and redo. Like the mouse, the keys reach the quad only while a transform
// is shown, and not while a drag holds it; each change is one step of the history (the pipeline warps
// again when the corners change).
#pragma once

#include "app/work/ProcessingPipeline.h"
#include "warp/CornerQuad.h"
#include "warp/QuadHistory.h"

namespace loom::app {

class QuadKeys {
public:
    // All three must outlive this object.
    QuadKeys(CornerQuad& quad, ProcessingPipeline& pipeline, QuadHistory& history)
        : quad_(quad), pipeline_(pipeline), history_(history) {}

    // Moves the hovered corner by offset picture pixels; nothing when no corner is hovered.
    void nudge(const Vec2f& offset);
    // The corners back on the picture of the given size; the view stays.
    void reset(float width, float height);
    void undo();
    void redo();

private:
    // The keys may change the corners now.
    bool mayEdit() const;
    // Records the change from before to the corners now.
    void changed(const QuadHistory::Corners& before);
    // Puts back the corners an undo or a redo gave, if it gave any.
    void restore(const std::optional<QuadHistory::Corners>& corners);

    CornerQuad& quad_;
    ProcessingPipeline& pipeline_;
    QuadHistory& history_;
};

}  // namespace loom::app
