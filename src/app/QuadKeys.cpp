#include "app/QuadKeys.h"

namespace loom::app {

void QuadKeys::nudge(const Vec2f& offset) {
    if (!pipeline_.transformShown()) return;
    const QuadHistory::Corners before = quad_.corners();
    if (quad_.nudgeHoveredCorner(offset)) changed(before);
}

void QuadKeys::reset(float width, float height) {
    if (!pipeline_.transformShown()) return;
    const QuadHistory::Corners before = quad_.corners();
    quad_.resetToImage(width, height);
    changed(before);
}

void QuadKeys::undo() {
    if (pipeline_.transformShown()) restore(history_.undo(quad_.corners()));
}

void QuadKeys::redo() {
    if (pipeline_.transformShown()) restore(history_.redo(quad_.corners()));
}

void QuadKeys::changed(const QuadHistory::Corners& before) { history_.record(before, quad_.corners()); }

void QuadKeys::restore(const std::optional<QuadHistory::Corners>& corners) {
    if (!corners) return;
    quad_.restoreCorners(*corners);
}

}  // namespace loom::app
