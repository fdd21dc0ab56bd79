// The processing pipeline: turns the loaded image into the picture the window shows. It reads the
// panel's selections (upscaler, transform, comparison rule), upscales only when the upscaler or
// the rule changed or nothing is cached,
// warps onto the quadrilateral's corners again whenever anything was redone or the result was
// discarded, hands the result to be shown, and times the work for the "Perf" label.
//
// The expensive steps come from outside (PipelineWork) so the decisions can be checked with fake
// steps and a fake clock; the application supplies the real upscalers, warps and textures.
#pragma once

#include <array>
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
    // Makes the result visible (the texture upload); the previous result stays visible if it
    // throws.
    virtual void show(const Surface& result) = 0;
    virtual double seconds() = 0;
};

// What one call of process() did.
struct PipelineRun {
    bool ran = false;       // false: nothing to do (no image, or nothing changed)
    bool upscaled = false;  // the upscale was redone rather than taken from the cache
    int milliseconds = 0;   // time of upscale, warp and upload, truncated
};

class ProcessingPipeline {
public:
    // Runs the pipeline for this source image (null: nothing loaded), warping onto quad's corners.
    // All or nothing: when a step throws, the shown result is kept, the selections and the corners
    // go back to what the shown result was made with (so the panel and the outline tell the truth,
    // and nothing asks for the failing run again), any drag of the quad ends, and the exception
    // travels on.
    PipelineRun process(const Surface& source, CornerQuad& quad, PipelineWork& work);

    // Forces the next run to warp again (the quadrilateral changed); the cached upscale stays.
    void discardResult() { resultSurface = Surface(); }
    // Forces the next run to start over (a new image was loaded).
    void discardAll() {
        upscaledSurface = Surface();
        resultSurface = Surface();
    }

    std::string currentUpscalerName() const;
    // Whether the picture on screen is pinned on the quad: what counts for editing the quad, not
    // the panel's selection, which may be a frame ahead of it.
    bool transformShown() const { return currentTransform != 0; }

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
    void selectCurrent();
    // The command line's layout with the "Wrap edges" box ticked or not.
    SheetLayout layoutWith(bool wrap) const;

    Surface shownSurface_;               // the last result made visible, restored when a run fails
    std::array<Vec2f, 4> shownCorners_;  // the corners shownSurface_ was warped onto
};

}  // namespace app
}  // namespace loom
