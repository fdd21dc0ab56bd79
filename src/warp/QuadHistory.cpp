#include "warp/QuadHistory.h"

namespace loom {

void QuadHistory::record(const Corners& before, const Corners& after) {
    if (before == after) return;
    undoSteps_.push_back(before);
    if (undoSteps_.size() > STEPS) undoSteps_.pop_front();
    redoSteps_.clear();
}

std::optional<QuadHistory::Corners> QuadHistory::undo(const Corners& current) {
    if (undoSteps_.empty()) return std::nullopt;
    const Corners previous = undoSteps_.back();
    undoSteps_.pop_back();
    redoSteps_.push_back(current);
    return previous;
}

std::optional<QuadHistory::Corners> QuadHistory::redo(const Corners& current) {
    if (redoSteps_.empty()) return std::nullopt;
    const Corners next = redoSteps_.back();
    redoSteps_.pop_back();
    undoSteps_.push_back(current);
    return next;
}

void QuadHistory::clear() {
    undoSteps_.clear();
    redoSteps_.clear();
}

}  // namespace loom
