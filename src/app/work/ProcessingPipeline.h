// The processing pipeline: turns the loaded image into the picture the window shows. It reads the
// panel's selections (upscaler, transform, comparison rule), upscales only when the upscaler or
// the rule changed or nothing is cached, warps onto the quadrilateral's corners again whenever
// anything was redone or the corners moved, hands the result to be shown, and times the
// work for the "Perf" label.
//
// A run is a job: nextJob() decides on the main thread what must be made, run() makes it on any
// thread, and finish() takes it in on the main thread. A newer job supersedes any that is out: its
// outcome is then dropped, so the window never shows a picture older than the last change.
// process() does the three in a row, for callers that need the result now.
//
// The expensive steps come from outside (PipelineWork) so the decisions can be checked with fake
// steps and a fake clock; the application supplies the real upscalers, warps and textures.
#pragma once

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <string>

#include "image/PixelMatch.h"
#include "image/SheetLayout.h"
#include "image/Surface.h"
#include "warp/CornerQuad.h"

namespace loom {
namespace app {

class PipelineWork {
public:
    virtual ~PipelineWork() = default;
    virtual Surface upscale(const Surface& source, int upscalerId, PixelMatch match,
                            const SheetLayout& layout) = 0;
    // upscaled is the output of upscaler upscalerId, whose factor the warp needs.
    virtual Surface warp(int transformId, const Surface& upscaled, int upscalerId,
                         const std::array<Vec2f, 4>& corners) = 0;
    // Makes the result visible (the texture upload), upscaled being what it was warped from; the
    // previous result stays visible if it throws. Called on the main thread only.
    virtual void show(const Surface& upscaled, const Surface& result) = 0;
    virtual double seconds() = 0;
};

// What one job makes: the picture it starts from (the same pixels, not merely equal ones: a file
// read again or another frame is another picture), its selections, and the corners (for a
// transform only).
struct PipelineKey {
    Surface source;
    int upscaler = -1;
    int transform = 0;
    int compare = 0;
    bool wrapEdges = false;
    std::array<Vec2f, 4> corners{};
    bool operator==(const PipelineKey& o) const;
    bool operator!=(const PipelineKey& o) const { return !(*this == o); }
};

struct PipelineJob {
    uint64_t id = 0;
    PipelineKey key;
    SheetLayout layout;
    std::array<Vec2f, 4> corners{};  // the quad's, whatever the transform
    Surface upscaled;                // the upscale when the cache still holds it: the job only warps
};

struct PipelineOutcome {
    PipelineJob job;
    Surface upscaled;
    Surface result;
    bool upscaledNow = false;  // the upscale was made rather than taken from the job
    double seconds = 0.0;      // time of upscale and warp
    std::exception_ptr error;  // what a step threw, if one did
};

// What one call of finish() or process() did.
struct PipelineRun {
    bool ran = false;       // false: nothing to do (no image, nothing changed, or superseded)
    bool upscaled = false;  // the upscale was redone rather than taken from the cache
    int milliseconds = 0;   // time of upscale, warp and upload, truncated
};

class ProcessingPipeline {
public:
    // The job that brings the picture of source up to date with the selections and quad's
    // corners; none when it is, when a job for them is already out, or when there is no image
    // (null source).
    std::optional<PipelineJob> nextJob(const Surface& source, const CornerQuad& quad);
    // Makes the job's upscale (unless it carries one) and warp; never throws. Any thread.
    static PipelineOutcome run(PipelineJob job, PipelineWork& work);
    // Takes in a made job: shows it unless a newer job superseded it. All or nothing: when a step
    // threw, the shown result is kept, the selections and the corners go back to what the shown
    // result was made with (so the panel and the outline tell the truth, and nothing asks for the
    // failing job again), any drag of the quad ends, and the exception travels on.
    PipelineRun finish(const PipelineOutcome& outcome, CornerQuad& quad, PipelineWork& work);
    // The three steps at once, superseding any job that is out; nothing when nothing changed.
    PipelineRun process(const Surface& source, CornerQuad& quad, PipelineWork& work);

    // Forgets the job out: its outcome is never shown, and nextJob() asks again for what is not
    // shown. For a picture dropped before its result came.
    void abandonJob();

    // True while a job is out and not taken in.
    bool busy() const { return outstanding_; }
    // True when the outcome is of the last job asked for: finish() shows it.
    bool latest(const PipelineOutcome& outcome) const { return outcome.job.id == lastJob_; }
    // True when what is shown was made from source with the selections and these corners, and
    // nothing waits.
    bool shows(const Surface& source, const std::array<Vec2f, 4>& corners) const;

    std::string currentUpscalerName() const;
    // Whether the picture on screen is pinned on the quad, what counts for editing the quad: the
    // panel's selection, since the quad is drawn over a preview of its warp before that is made.
    bool transformShown() const { return transform != 0; }

    // "Perf: 12 ms"
    static std::string perfText(int milliseconds);

    // The selections the panel writes: an upscaler id (UpscalerCatalogue.h), a transform id
    // (TransformCatalogue.h) and the rule by which the upscalers compare pixels (a PixelMatch).
    int upscaler = 0;
    int transform = 0;
    int compare = int(PixelMatch::Seen);
    int currentUpscaler = 0;                     // the upscaler whose output upscaledSurface holds
    int currentTransform = 0;                    // the transform whose output resultSurface holds
    int currentCompare = int(PixelMatch::Seen);  // the rule upscaledSurface was made with
    // The cells and the edge rule given on the command line, and the "Wrap edges" box: ticked,
    // the picture's edges wrap as the command line said (both ways unless it said one).
    SheetLayout layout;
    bool wrapEdges = false;
    bool currentWrapEdges = false;  // the box upscaledSurface was made with
    Surface upscaledSurface;
    Surface resultSurface;  // what is shown; shares upscaledSurface's pixels for transform 0

    // The layout the upscale of the result shown was made with.
    SheetLayout currentLayout() const { return layoutWith(currentWrapEdges); }

private:
    PipelineKey wantedKey(const Surface& source, const std::array<Vec2f, 4>& corners) const;
    PipelineJob makeJob(const Surface& source, const CornerQuad& quad);
    // Puts back what the shown result was made with, after a failed job for failedSource.
    void revert(CornerQuad& quad, const Surface& failedSource);
    // The command line's layout with the "Wrap edges" box ticked or not.
    SheetLayout layoutWith(bool wrap) const;

    uint64_t lastJob_ = 0;
    bool outstanding_ = false;
    std::optional<PipelineKey> requested_;      // the last job's, or the shown result's after a failure
    std::optional<PipelineKey> cachedUpscale_;  // what upscaledSurface was made with
    std::array<Vec2f, 4> shownCorners_{};       // the corners resultSurface was warped onto
};

}  // namespace app
}  // namespace loom
