// QuadHistory: the corner quadrilateral's changes, undone and redone one whole change at a time (a
// drag from press to release, a nudge, a reset). Each step keeps the corners on the far side of
// it; the corners now are given at each call rather than kept, so they never go stale.
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <vector>

#include "math/Vec2.h"

namespace loom {

class QuadHistory {
public:
    using Corners = std::array<Vec2f, 4>;

    // Steps kept for undo; the oldest go first.
    static constexpr size_t STEPS = 100;

    // A change from before to after; one that left the corners as they were is no step. Any
    // steps undone before it can no longer be redone.
    void record(const Corners& before, const Corners& after);
    // The corners before the last change, or none when nothing is left to undo; current becomes
    // what redo gives back.
    std::optional<Corners> undo(const Corners& current);
    // The corners the last undo left, or none when nothing is left to redo; current becomes what
    // undo gives back.
    std::optional<Corners> redo(const Corners& current);
    // Forgets every step (a new picture was opened).
    void clear();

private:
    std::deque<Corners> undoSteps_;   // the oldest first
    std::vector<Corners> redoSteps_;  // the next to redo last
};

}  // namespace loom
