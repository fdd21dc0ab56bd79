#include "app/ProcessingPipeline.h"

#include <boost/format.hpp>

#include "image/UpscalerCatalogue.h"
#include "warp/TransformCatalogue.h"

namespace loom {
namespace app {

namespace {

// The highest id whose flag is set, or current when none is.
template <size_t N>
int highestSelected(const std::map<int, std::string>& names, const std::array<bool, N>& flags,
                    int current) {
    int candidate = current;
    for (const auto& entry : names)
        if (flags.at(size_t(entry.first))) candidate = entry.first;
    return candidate;
}

}  // namespace

ProcessingPipeline::ProcessingPipeline() {
    for (const UpscalerInfo& info : upscalerCatalogue())
        if (info.id >= 0 && info.id < UPSCALER_COUNT) upscalerNames.emplace(info.id, info.name);
    for (const TransformInfo& info : transformCatalogue())
        if (info.id >= 0 && info.id < TRANSFORM_COUNT) transformNames.emplace(info.id, info.name);
    selectCurrent();
}

void ProcessingPipeline::selectCurrent() {
    upscalerFlags.fill(false);
    upscalerFlags[size_t(currentUpscaler)] = true;
    transformFlags.fill(false);
    transformFlags[size_t(currentTransform)] = true;
    compareAlpha = currentCompareAlpha;
}

PipelineRun ProcessingPipeline::process(const Surface& source, PipelineWork& work) {
    const int upscaler = highestSelected(upscalerNames, upscalerFlags, currentUpscaler);
    const int transform = highestSelected(transformNames, transformFlags, currentTransform);
    const bool compare = compareAlpha;
    const bool unchanged = resultSurface && upscaler == currentUpscaler &&
                           transform == currentTransform && compare == currentCompareAlpha;
    if (!source || unchanged) return {};

    PipelineRun run;
    run.ran = true;
    try {
        const double t0 = work.seconds();
        Surface upscaled = upscaledSurface;
        if (upscaler != currentUpscaler || compare != currentCompareAlpha || !upscaled) {
            upscaled = Surface();  // release the old cache before making the new one
            upscaledSurface = Surface();
            upscaled = work.upscale(source, upscaler,
                                    compare ? PixelMatch::ColourAndAlpha : PixelMatch::Colour);
            run.upscaled = true;
        }
        const Surface result = transform == 0 ? upscaled : work.warp(transform, upscaled, upscaler);
        work.show(result);
        run.milliseconds = int((work.seconds() - t0) * 1000.0);

        currentUpscaler = upscaler;
        currentTransform = transform;
        currentCompareAlpha = compare;
        upscaledSurface = upscaled;
        resultSurface = result;
        shownSurface_ = result;
        return run;
    } catch (...) {
        // The released cache is rebuilt by the next successful run; what is shown stays.
        resultSurface = shownSurface_;
        selectCurrent();
        throw;
    }
}

std::string ProcessingPipeline::perfText(int milliseconds) {
    return (boost::format("Perf: %i ms") % milliseconds).str();
}

}  // namespace app
}  // namespace loom
