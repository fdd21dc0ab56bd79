#include "app/ProcessingPipeline.h"

#include <boost/format.hpp>

#include "image/UpscalerCatalogue.h"

namespace loom {
namespace app {

std::string ProcessingPipeline::currentUpscalerName() const {
    return upscalerById(currentUpscaler).name;
}

void ProcessingPipeline::selectCurrent() {
    upscaler = currentUpscaler;
    transform = currentTransform;
    compare = currentCompare;
    wrapEdges = currentWrapEdges;
}

PipelineRun ProcessingPipeline::process(const Surface& source, CornerQuad& quad, PipelineWork& work) {
    const bool unchanged = resultSurface && upscaler == currentUpscaler &&
                           transform == currentTransform && compare == currentCompare &&
                           wrapEdges == currentWrapEdges;
    if (!source || unchanged) return {};

    PipelineRun run;
    run.ran = true;
    try {
        const double t0 = work.seconds();
        Surface upscaled = upscaledSurface;
        if (upscaler != currentUpscaler || compare != currentCompare || wrapEdges != currentWrapEdges ||
            !upscaled) {
            upscaled = Surface();  // release the old cache before making the new one
            upscaledSurface = Surface();
            upscaled = work.upscale(source, upscaler, PixelMatch(compare), layoutWith(wrapEdges));
            run.upscaled = true;
        }
        const std::array<Vec2f, 4> corners = quad.corners();
        const Surface result =
            transform == 0 ? upscaled : work.warp(transform, upscaled, upscaler, corners);
        work.show(result);
        run.milliseconds = int((work.seconds() - t0) * 1000.0);

        currentUpscaler = upscaler;
        currentTransform = transform;
        currentCompare = compare;
        currentWrapEdges = wrapEdges;
        upscaledSurface = upscaled;
        resultSurface = result;
        shownSurface_ = result;
        shownCorners_ = corners;
        return run;
    } catch (...) {
        // The released cache is rebuilt by the next successful run; what is shown stays.
        resultSurface = shownSurface_;
        selectCurrent();
        if (shownSurface_) quad.restoreCorners(shownCorners_);
        throw;
    }
}

SheetLayout ProcessingPipeline::layoutWith(bool wrap) const {
    SheetLayout effective = layout;
    if (!wrap)
        effective.edges = EdgeRule::Clamp;
    else if (layout.edges == EdgeRule::Clamp)
        effective.edges = EdgeRule::Wrap;
    return effective;
}

std::string ProcessingPipeline::perfText(int milliseconds) {
    return (boost::format("Perf: %i ms") % milliseconds).str();
}

}  // namespace app
}  // namespace loom
