// ResultSteps: the window's steps of a job: the upscale of one frame of a file (by its atlas's
// frames when the sheet has one), kept in the frame cache when the file is animated and taken from
// it when made ahead; the warp; and the showing, handed back to the window. What the upscale needs
// of the file is copied when the job is asked for: it runs on the pool while the window goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/work/ProcessingPipeline.h"
#include "app/work/UpscaledFrameCache.h"
#include "pipeline/Atlas.h"

namespace loom::app {

// A frame upscaled whole, or by the atlas's frames when the sheet has one.
Surface upscaleFrame(const Surface& source, const std::vector<AtlasFrame>& atlasFrames, int upscalerId,
                     PixelMatch match, const SheetLayout& layout);

// Which frame of which file a job makes.
struct FrameOfFile {
    int32_t index = 0;
    bool animated = false;
    uint64_t file = 0;
    std::vector<AtlasFrame> atlasFrames;
};

class ResultSteps : public PipelineWork {
public:
    using Show = std::function<void(const Surface& upscaled, const Surface& result)>;

    // cache must outlive the steps; show is called on the main thread only.
    ResultSteps(UpscaledFrameCache& cache, FrameOfFile frame, Show show = {});

    Surface upscale(const Surface& source, int upscalerId, PixelMatch match,
                    const SheetLayout& layout) override;
    Surface warp(int transformId, const Surface& upscaled, int upscalerId,
                 const std::array<Vec2f, 4>& corners) override;
    void show(const Surface& upscaled, const Surface& result) override;
    double seconds() override;

private:
    UpscaledFrameCache& cache_;
    const FrameOfFile frame_;
    const Show show_;
};

}  // namespace loom::app
