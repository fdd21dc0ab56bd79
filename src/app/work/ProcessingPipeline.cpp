#include "app/work/ProcessingPipeline.h"

#include <string>

#include "image/UpscalerCatalogue.h"

namespace loom {
namespace app {

namespace {

bool sameUpscale(const PipelineKey& a, const PipelineKey& b) {
    return a.source.sharesPixelsWith(b.source) && a.upscaler == b.upscaler && a.compare == b.compare &&
           a.wrapEdges == b.wrapEdges;
}

}  // namespace

bool PipelineKey::operator==(const PipelineKey& o) const {
    return sameUpscale(*this, o) && transform == o.transform && corners == o.corners;
}

std::string ProcessingPipeline::currentUpscalerName() const {
    return upscalerById(currentUpscaler).name;
}

PipelineKey ProcessingPipeline::wantedKey(const Surface& source,
                                          const std::array<Vec2f, 4>& corners) const {
    PipelineKey key;
    key.source = source;
    key.upscaler = upscaler;
    key.transform = transform;
    key.compare = compare;
    key.wrapEdges = wrapEdges;
    // Without a transform the corners make no difference to the picture.
    if (transform != 0) key.corners = corners;
    return key;
}

bool ProcessingPipeline::shows(const Surface& source, const std::array<Vec2f, 4>& corners) const {
    return !outstanding_ && requested_ && *requested_ == wantedKey(source, corners);
}

std::optional<PipelineJob> ProcessingPipeline::nextJob(const Surface& source, const CornerQuad& quad) {
    if (!source || (requested_ && *requested_ == wantedKey(source, quad.corners()))) return std::nullopt;
    return makeJob(source, quad);
}

PipelineJob ProcessingPipeline::makeJob(const Surface& source, const CornerQuad& quad) {
    PipelineJob job;
    job.id = ++lastJob_;
    job.key = wantedKey(source, quad.corners());
    job.layout = layoutWith(wrapEdges);
    job.corners = quad.corners();
    if (cachedUpscale_ && sameUpscale(*cachedUpscale_, job.key)) job.upscaled = upscaledSurface;
    requested_ = job.key;
    outstanding_ = true;
    return job;
}

PipelineOutcome ProcessingPipeline::run(PipelineJob job, PipelineWork& work) {
    PipelineOutcome outcome;
    outcome.job = std::move(job);
    const PipelineJob& j = outcome.job;
    try {
        const double t0 = work.seconds();
        Surface upscaled = j.upscaled;
        if (!upscaled) {
            upscaled = work.upscale(j.key.source, j.key.upscaler, PixelMatch(j.key.compare), j.layout);
            outcome.upscaledNow = true;
        }
        outcome.result = j.key.transform == 0
                             ? upscaled
                             : work.warp(j.key.transform, upscaled, j.key.upscaler, j.corners);
        outcome.upscaled = upscaled;
        outcome.seconds = work.seconds() - t0;
    } catch (...) {
        outcome.error = std::current_exception();
    }
    return outcome;
}

PipelineRun ProcessingPipeline::finish(const PipelineOutcome& outcome, CornerQuad& quad,
                                       PipelineWork& work) {
    if (outcome.job.id != lastJob_) return {};  // superseded: a newer job is out
    outstanding_ = false;
    PipelineRun run;
    try {
        if (outcome.error) std::rethrow_exception(outcome.error);
        const double t0 = work.seconds();
        work.show(outcome.upscaled, outcome.result);
        run.milliseconds = int((outcome.seconds + work.seconds() - t0) * 1000.0);
    } catch (...) {
        revert(quad, outcome.job.key.source);
        throw;
    }
    const PipelineKey& key = outcome.job.key;
    run.ran = true;
    run.upscaled = outcome.upscaledNow;
    currentUpscaler = key.upscaler;
    currentTransform = key.transform;
    currentCompare = key.compare;
    currentWrapEdges = key.wrapEdges;
    upscaledSurface = outcome.upscaled;
    cachedUpscale_ = key;
    resultSurface = outcome.result;
    shownCorners_ = outcome.job.corners;
    return run;
}

PipelineRun ProcessingPipeline::process(const Surface& source, CornerQuad& quad, PipelineWork& work) {
    if (!source || (!outstanding_ && requested_ && *requested_ == wantedKey(source, quad.corners())))
        return {};
    return finish(run(makeJob(source, quad), work), quad, work);
}

void ProcessingPipeline::abandonJob() {
    if (!outstanding_) return;
    ++lastJob_;
    outstanding_ = false;
    requested_ = cachedUpscale_;
}

void ProcessingPipeline::revert(CornerQuad& quad, const Surface& failedSource) {
    upscaler = currentUpscaler;
    transform = currentTransform;
    compare = currentCompare;
    wrapEdges = currentWrapEdges;
    if (resultSurface) quad.restoreCorners(shownCorners_);
    // Asked for already, so that the failing job is not asked again for this picture.
    requested_ = wantedKey(failedSource, quad.corners());
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
    return "Perf: " + std::to_string(milliseconds) + " ms";
}

}  // namespace app
}  // namespace loom
