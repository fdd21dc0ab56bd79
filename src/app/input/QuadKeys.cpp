#include "app/input/QuadKeys.h"

namespace loom::app {

bool QuadKeys::mayEdit() const {
    // A drag owns the corners until it ends: a key would pull them from under the pointer.
    return pipeline_.transformShown() && !quad_.held();
}

void QuadKeys::nudge(const Vec2f& offset) {
    if (!mayEdit()) return;
    const QuadHistory::Corners before = quad_.corners();
    if (quad_.nudgeHoveredCorner(offset)) changed(before);
}

void QuadKeys::reset(float width, float height) {
    if (!mayEdit()) return;
    const QuadHistory::Corners before = quad_.corners();
    quad_.resetToImage(width, height);
    changed(before);
}

void QuadKeys::undo() {
    if (mayEdit()) restore(history_.undo(quad_.corners()));
}

void QuadKeys::redo() {
    if (mayEdit()) restore(history_.redo(quad_.corners()));
}

void QuadKeys::changed(const QuadHistory::Corners& before) { history_.record(before, quad_.corners()); }

void QuadKeys::restore(const std::optional<QuadHistory::Corners>& corners) {
    if (!corners) return;
    quad_.restoreCorners(*corners);
}

}  // namespace loom::app
