// UpscaledFrameCache: the upscaled frames of an animation, kept once made so that it plays at its
// own pace, within a memory budget. Beyond it one more frame is kept apart: the next one, made
// ahead of its turn while the shown one plays. A change of
// upscaler, comparison rule or edges, or another file, makes other frames: the cache then starts
// over. Safe to use from the pipeline's thread and the main thread at once.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "image/Surface.h"

namespace loom::app {

class UpscaledFrameCache {
public:
    static constexpr int64_t BUDGET_BYTES = int64_t(512) << 20;

    explicit UpscaledFrameCache(int64_t budgetBytes = BUDGET_BYTES) : budgetBytes_(budgetBytes) {}

    struct Key {
        int upscaler = -1;
        PixelMatch match = PixelMatch::Seen;
        EdgeRule edges = EdgeRule::Clamp;
        uint64_t file = 0;  // which opened file the frames are of
        bool operator==(const Key& o) const {
            return upscaler == o.upscaler && match == o.match && edges == o.edges && file == o.file;
        }
    };

    // Frame i made with key, or the null surface.
    Surface find(int32_t i, const Key& key) const;
    // Keeps frame i made with key when the budget allows.
    void keep(int32_t i, const Key& key, const Surface& upscaled);
    // Keeps frame i, made with key ahead of its turn, in the one place outside the budget, instead
    // of the frame there; the frames kept within the budget stay as they are.
    void keepAhead(int32_t i, const Key& key, const Surface& upscaled);
    // Forgets every frame unless they are of this file.
    void keepOnly(uint64_t file);

private:
    void clear();  // with the mutex held

    const int64_t budgetBytes_;
    mutable std::mutex mutex_;
    Key key_;
    std::vector<Surface> frames_;
    int64_t bytes_ = 0;
    Key aheadKey_;
    int32_t aheadIndex_ = -1;
    Surface ahead_;
};

}  // namespace loom::app
