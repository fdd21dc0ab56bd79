#include "app/QuennetApp.h"

#include <chrono>
#include <iostream>

#include "app/ErrorReport.h"
#include "app/NearestTexture.h"
#include "app/QuennetPanel.h"
#include "image/Upscale.h"
#include "io/ImageSourceSurface.h"
#include "params/ParamPanel.h"
#include "pipeline/AtlasUpscale.h"
#include "pipeline/MakeResult.h"

namespace loom {
namespace app {

namespace {

// A frame upscaled whole, or by the atlas's frames when the sheet has one.
Surface upscaleFrame(const Surface& source, const std::vector<AtlasFrame>& atlasFrames, int upscalerId,
                     PixelMatch match, const SheetLayout& layout) {
    return atlasFrames.empty() ? loom::upscale(source, upscalerId, match, layout)
                               : upscaleByFrames(source, atlasFrames, upscalerId, match, layout.edges);
}

}  // namespace

// The pipeline's expensive steps: upscale() and warp(), the two halves of the core's makeResult()
// (the pipeline caches the upscale between them), and the textures. The upscale works from what
// the window showed when the job was asked for (the frame, the atlas), never from the window's
// state later, since it runs on the pipeline's thread.
class QuennetApp::Work : public PipelineWork {
public:
    // forOpening: for the file being opened rather than the one shown.
    explicit Work(QuennetApp& app, bool forOpening = false)
        : app_(app),
          forOpening_(forOpening),
          frame_(forOpening ? app.opening_->animation.index() : app.animation_.index()),
          animated_(forOpening ? app.opening_->animation.animated() : app.animation_.animated()),
          file_(forOpening ? app.opening_->id : app.fileId_),
          atlasFrames_(forOpening ? app.opening_->atlasFrames : app.atlasFrames_) {}
    Surface upscale(const Surface& source, int upscalerId, PixelMatch match,
                    const SheetLayout& layout) override {
        const UpscaledFrameCache::Key key{upscalerId, match, layout.edges, file_};
        // A frame made ahead of its turn is kept like one made now.
        Surface made = app_.upscaledFrames_.find(frame_, key);
        if (!made) made = upscaleFrame(source, atlasFrames_, upscalerId, match, layout);
        if (animated_) app_.upscaledFrames_.keep(frame_, key, made);
        return made;
    }
    Surface warp(int transformId, const Surface& upscaled, int upscalerId,
                 const std::array<Vec2f, 4>& corners) override {
        return warpResult(upscaled, upscalerId, transformId, corners);
    }
    void show(const Surface& upscaled, const Surface& result) override {
        app_.showResult(upscaled, result, forOpening_);
    }
    double seconds() override {
        return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

private:
    QuennetApp& app_;
    const bool forOpening_;
    const int32_t frame_;
    const bool animated_;
    const uint64_t file_;
    const std::vector<AtlasFrame> atlasFrames_;
};

QuennetApp::QuennetApp(AppStart start, framework::PlatformServices services)
    : services_(std::move(services)), start_(std::move(start)) {}
QuennetApp::~QuennetApp() = default;

void QuennetApp::prepareSettings(Settings* settings) {
    // Kept open beside an editor all day: nothing is drawn while nothing changes.
    settings->redrawOnDemand = true;
}

void QuennetApp::setup() {
    showSource_ = false;

    // Registered before the panel's own handlers, so that nothing reaches the panel either while
    // a dialog is open.
    blockInputDuringDialog();

    panel_ = std::make_unique<params::ParamPanel>(this);
    perfLabel_ = addQuennetControls(*panel_, zoomLevel_, pipeline_);
    pipeline_.upscaler = start_.upscaler;
    pipeline_.transform = start_.transform;
    pipeline_.compare = int(start_.match);
    pipeline_.layout = start_.layout;
    pipeline_.wrapEdges = start_.layout.edges != EdgeRule::Clamp;
}

void QuennetApp::blockInputDuringDialog() {
    auto blockMouse = [this](framework::MouseEvent) { return inputBlocked(); };
    auto blockKey = [this](framework::KeyEvent) { return inputBlocked(); };
    registerMouseDown(blockMouse);
    registerMouseUp(blockMouse);
    registerMouseDrag(blockMouse);
    registerMouseMove(blockMouse);
    registerMouseWheel(blockMouse);
    registerKeyDown(blockKey);
    registerKeyUp(blockKey);
    registerFileDrop([this](framework::FileDropEvent) { return inputBlocked(); });
}

void QuennetApp::update() {
    if (!commandLineOpened_) {
        // A file named on the command line opens as if it had been dropped, once the window shows.
        commandLineOpened_ = true;
        if (!start_.file.empty()) openImage(start_.file);
        requestRedraw();
    }
    if (dialog_) {
        if (const std::optional<std::string> answer = dialog_->poll()) {
            const FileDialogKind kind = dialog_->kind();
            dialog_.reset();
            if (!answer->empty()) {
                if (kind == FileDialogKind::SAVE)
                    finishSave(*answer);
                else
                    openImage(*answer);
            }
            requestRedraw();
        }
    }
    // A file being opened is taken up first: its result may be about to replace the picture.
    if (!opening_ && services_.watch->changed()) reloadImage();
    if (animation_.advance(getElapsedSeconds())) showFrame(animation_.index());
    // The preview picture left by the last frame first, so that two big uploads seldom share one.
    uploadPendingUpscale();
    takeResults();
    startJob();
    makeNextFrameAhead();
    if (busyMarkDue() != busyMarkShown_) requestRedraw();
    keepSizeAcrossFactors();
    showTitle();
    if (messages_.expire(getElapsedSeconds())) requestRedraw();
}

void QuennetApp::startJob() {
    // A file being opened is made on the corners placed on it, or, reloaded, on those shown.
    const CornerQuad& quad = opening_ && opening_->placedQuad ? *opening_->placedQuad : cornerQuad_;
    if (&quad == &cornerQuad_ && cornerQuad_.held()) return;  // the preview follows the drag
    const bool wasBusy = pipeline_.busy();
    std::optional<PipelineJob> job =
        pipeline_.nextJob(opening_ ? opening_->source : sourceSurface_, quad);
    if (!job) return;
    if (opening_) openingJob_ = job->id;
    pipelineThread_.post(std::move(*job), std::make_shared<Work>(*this, bool(opening_)));
    if (!wasBusy) busySince_ = getElapsedSeconds();
}

void QuennetApp::makeNextFrameAhead() {
    // Only while the window has nothing else to make: the shown frame comes first.
    if (!animation_.animated() || !animation_.playing() || opening_ || pipeline_.busy() ||
        cornerQuad_.held() || !frameAhead_.idle())
        return;
    const int32_t next = (animation_.index() + 1) % animation_.frameCount();
    const SheetLayout layout = pipeline_.currentLayout();
    const UpscaledFrameCache::Key key{pipeline_.currentUpscaler, PixelMatch(pipeline_.currentCompare),
                                      layout.edges, fileId_};
    if (upscaledFrames_.find(next, key)) return;
    frameAhead_.start([cache = &upscaledFrames_, source = animation_.frameAt(next),
                       atlasFrames = atlasFrames_, next, key, layout] {
        try {
            const Surface made = upscaleFrame(source, atlasFrames, key.upscaler, key.match, layout);
            cache->keepAhead(next, key, made);
        } catch (const std::exception&) {
            // Left to be made when its turn comes, where a failure is reported.
        }
    });
}

bool QuennetApp::busyMarkDue() const {
    // Quick jobs (an animation's next frame, a small picture) would only make the mark flicker.
    constexpr double BUSY_MARK_DELAY = 0.15;
    return pipeline_.busy() && getElapsedSeconds() - busySince_ >= BUSY_MARK_DELAY;
}

void QuennetApp::takeResults() {
    for (const PipelineOutcome& outcome : pipelineThread_.take()) {
        const bool forOpening = opening_ && pipeline_.latest(outcome) && outcome.job.id == openingJob_;
        try {
            Work work(*this, forOpening);
            showRun(pipeline_.finish(outcome, cornerQuad_, work));
        } catch (const std::exception& e) {
            if (forOpening) {
                const OpenedFile refused = std::move(*opening_);
                opening_.reset();
                reportOpenFailure(refused.path, refused.reloading, e);
            } else {
                reportProcessingFailure(e);
            }
        }
        requestRedraw();  // a result, a put-back picture, or the busy mark gone
    }
}

void QuennetApp::showRun(const PipelineRun& run) {
    if (!run.ran) return;
    perfLabel_->setCaption(ProcessingPipeline::perfText(run.milliseconds));
    requestRedraw();
}

void QuennetApp::runPipeline() {
    Work work(*this);
    showRun(pipeline_.process(sourceSurface_, cornerQuad_, work));
}

void QuennetApp::process() {
    try {
        runPipeline();
    } catch (const std::exception& e) {
        reportProcessingFailure(e);
    }
}

void QuennetApp::reportProcessingFailure(const std::exception& e) {
    requestRedraw();  // what is shown was put back
    reportError(getRenderer()->getWindow(), "Cannot process the image",
                "Could not process \"" + sourcePath_ + "\": " + describeFailure(e) +
                    ".\nThe previous picture and settings are kept.");
}

void QuennetApp::saveAnimation(AnimationWriter& writer) {
    const int32_t shown = animation_.index();
    for (int32_t i = 0; i < animation_.frameCount(); ++i) {
        animation_.show(i, getElapsedSeconds());  // the cache is by the frame shown
        Work work(*this);
        const Surface upscaled =
            work.upscale(animation_.frame(), pipeline_.currentUpscaler,
                         PixelMatch(pipeline_.currentCompare), pipeline_.currentLayout());
        writer.addFrame(
            std::make_shared<ImageSourceSurface>(warpResult(
                upscaled, pipeline_.currentUpscaler, pipeline_.currentTransform, cornerQuad_.corners())),
            animation_.fileDelayMs(i));
    }
    animation_.show(shown, getElapsedSeconds());
    writer.finish();
}

void QuennetApp::showFrame(int32_t i) {
    animation_.show(i, getElapsedSeconds());
    sourceSurface_ = animation_.frame();
    // The corners stay (frames share the canvas); the pipeline makes the frame's own result.
    frameChanged_ = true;
    requestRedraw();
}

void QuennetApp::showResult(const Surface& upscaled, const Surface& result, bool forOpening) {
    const bool warped = !result.sharesPixelsWith(upscaled);
    const gl::Texture texture = !warped && upscaled.sharesPixelsWith(upscaledShown_)
                                    ? upscaledTexture_
                                    : makeNearestTexture(result);
    // Only now, with nothing left to fail, does the file being opened replace the one shown.
    if (forOpening) adoptOpening();
    if (!warped) {
        upscaledTexture_ = texture;
        upscaledShown_ = upscaled;
        pendingUpscale_ = Surface();
    } else if (!upscaled.sharesPixelsWith(upscaledShown_)) {
        // The preview's picture is uploaded by the next update: one big upload a frame.
        pendingUpscale_ = upscaled;
    }
    // Another frame of the animation replaces no picture: space keeps showing the one the last
    // change of settings replaced.
    if (resultTexture_ && !frameChanged_) sourceTexture_ = resultTexture_;
    frameChanged_ = false;
    resultTexture_ = texture;
}

void QuennetApp::uploadPendingUpscale() {
    if (!pendingUpscale_) return;
    try {
        upscaledTexture_ = makeNearestTexture(pendingUpscale_);
        upscaledShown_ = pendingUpscale_;
    } catch (const std::exception& e) {
        // Too large to show: the preview keeps the upscale it had, stretched alike over the quad.
        std::cerr << "QuennetApp: no preview of the new upscale: " << describeFailure(e) << '\n';
    }
    pendingUpscale_ = Surface();
}

}  // namespace app
}  // namespace loom
