// UpscaledFrameCache: the upscaled frames of an animation, kept once made so that it plays at its
// own pace, within a memory budget (beyond it a frame is made again when it is shown). A change of
// upscaler, comparison rule or edges makes other frames: the cache then starts over.
#pragma once

#include <cstdint>
#include <vector>

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "image/Surface.h"

namespace loom::app {

class UpscaledFrameCache {
public:
    static constexpr int64_t BUDGET_BYTES = int64_t(512) << 20;

    struct Key {
        int upscaler = -1;
        PixelMatch match = PixelMatch::Seen;
        EdgeRule edges = EdgeRule::Clamp;
        bool operator==(const Key& o) const {
            return upscaler == o.upscaler && match == o.match && edges == o.edges;
        }
    };

    // Frame i made with key, or the null surface.
    Surface find(int32_t i, const Key& key) const;
    // Keeps frame i made with key when the budget allows.
    void keep(int32_t i, const Key& key, const Surface& upscaled);
    void clear();

private:
    Key key_;
    std::vector<Surface> frames_;
    int64_t bytes_ = 0;
};

}  // namespace loom::app
