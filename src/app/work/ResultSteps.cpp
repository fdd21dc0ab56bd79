#include "app/work/ResultSteps.h"

#include <chrono>

#include "image/Upscale.h"
#include "pipeline/AtlasUpscale.h"
#include "pipeline/MakeResult.h"

namespace loom::app {

Surface upscaleFrame(const Surface& source, const std::vector<AtlasFrame>& atlasFrames, int upscalerId,
                     PixelMatch match, const SheetLayout& layout) {
    return atlasFrames.empty() ? loom::upscale(source, upscalerId, match, layout)
                               : upscaleByFrames(source, atlasFrames, upscalerId, match, layout.edges);
}

ResultSteps::ResultSteps(UpscaledFrameCache& cache, FrameOfFile frame, Show show)
    : cache_(cache), frame_(std::move(frame)), show_(std::move(show)) {}

Surface ResultSteps::upscale(const Surface& source, int upscalerId, PixelMatch match,
                             const SheetLayout& layout) {
    const UpscaledFrameCache::Key key{upscalerId, match, layout.edges, frame_.file};
    // A frame made ahead of its turn is kept like one made now.
    Surface made = cache_.find(frame_.index, key);
    if (!made) made = upscaleFrame(source, frame_.atlasFrames, upscalerId, match, layout);
    if (frame_.animated) cache_.keep(frame_.index, key, made);
    return made;
}

Surface ResultSteps::warp(int transformId, const Surface& upscaled, int upscalerId,
                          const std::array<Vec2f, 4>& corners) {
    return warpResult(upscaled, upscalerId, transformId, corners);
}

void ResultSteps::show(const Surface& upscaled, const Surface& result) {
    if (show_) show_(upscaled, result);
}

double ResultSteps::seconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace loom::app
