#include "app/QuennetApp.h"

#include <iostream>

#include "app/notices/ErrorReport.h"
#include "app/view/PictureDrawing.h"
#include "app/view/QuennetPanel.h"
#include "app/view/StatusLine.h"
#include "gl/Draw.h"
#include "image/UpscalerCatalogue.h"
#include "params/ParamPanel.h"

namespace loom {
namespace app {

QuennetApp::QuennetApp(AppStart start, framework::PlatformServices services)
    : start_(std::move(start)), services_(std::move(services)) {}
QuennetApp::~QuennetApp() = default;

void QuennetApp::prepareSettings(Settings* settings) {
    // Kept open beside an editor all day: nothing is drawn while nothing changes.
    settings->redrawOnDemand = true;
}

void QuennetApp::setup() {
    // Registered before the panel's own handlers, so that nothing reaches the panel either while
    // a dialog is open.
    blockInputDuringDialog();

    panel_ = std::make_unique<params::ParamPanel>(this);
    perfLabel_ = addQuennetControls(*panel_, view_.zoomLevel, pipeline_);
    pipeline_.upscaler = start_.upscaler;
    pipeline_.transform = start_.transform;
    pipeline_.compare = int(start_.match);
    pipeline_.layout = start_.layout;
    pipeline_.wrapEdges = start_.layout.edges != EdgeRule::Clamp;
}

void QuennetApp::update() {
    if (!commandLineOpened_) {
        // A file named on the command line opens as if it had been dropped, once the window shows.
        commandLineOpened_ = true;
        if (!start_.file.empty()) openImage(start_.file);
        requestRedraw();
    }
    takeDialogAnswer();
    services_.clipboard->serve();
    if (std::optional<framework::Pasted> pasted = services_.clipboard->takePaste())
        receivePaste(*pasted);
    if (std::optional<OpenOutcome> outcome = loader_.take()) receive(std::move(*outcome));
    // A file being read or opened is taken up first: it may be about to replace the picture.
    if (!opening_ && !loader_.busy() && document_ && !document_->pasted && services_.watch->changed())
        reloadImage();
    if (document_ && document_->animation.advance(getElapsedSeconds()))
        showFrame(document_->animation.index());
    // The preview picture left by the last frame first, so that two big uploads seldom share one.
    pictures_.uploadPending();
    takeResults();
    startJob();
    makeNextFrameAhead();
    if (busyMarkDue() != busyMarkShown_) requestRedraw();
    view_.keepSizeAcrossFactors(resultFactor(), windowSize());
    showTitle();
    if (messages_.expire(getElapsedSeconds())) requestRedraw();
}

const Document* QuennetApp::documentInWork() const {
    return opening_ ? &opening_->document : document_ ? &*document_ : nullptr;
}

std::shared_ptr<ResultSteps> QuennetApp::stepsFor(const Document& document, bool forOpening) {
    const FrameOfFile frame{document.animation.index(), document.animation.animated(), document.id,
                            document.atlasFrames};
    return std::make_shared<ResultSteps>(upscaledFrames_, frame, showing(forOpening));
}

ResultSteps::Show QuennetApp::showing(bool forOpening) {
    return [this, forOpening](const Surface& upscaled, const Surface& result) {
        showResult(upscaled, result, forOpening);
    };
}

void QuennetApp::startJob() {
    const Document* document = documentInWork();
    if (!document) return;
    // A file being opened is made on the corners placed on it, or, reloaded, on those shown.
    const CornerQuad& quad = opening_ && opening_->placedQuad ? *opening_->placedQuad : cornerQuad_;
    if (&quad == &cornerQuad_ && cornerQuad_.held()) return;  // the preview follows the drag
    const bool wasBusy = pipeline_.busy();
    std::optional<PipelineJob> job = pipeline_.nextJob(document->frame(), quad);
    if (!job) return;
    if (opening_) openingJob_ = job->id;
    pipelineThread_.post(std::move(*job), stepsFor(*document, bool(opening_)));
    if (!wasBusy) busySince_ = getElapsedSeconds();
}

void QuennetApp::makeNextFrameAhead() {
    // Only while the window has nothing else to make: the shown frame comes first.
    if (!document_ || opening_ || pipeline_.busy() || cornerQuad_.held() || !frameAhead_.idle()) return;
    const Animation& animation = document_->animation;
    if (!animation.animated() || !animation.playing()) return;
    const int32_t next = (animation.index() + 1) % animation.frameCount();
    const SheetLayout layout = pipeline_.currentLayout();
    const UpscaledFrameCache::Key key{pipeline_.currentUpscaler, PixelMatch(pipeline_.currentCompare),
                                      layout.edges, document_->id};
    if (upscaledFrames_.find(next, key)) return;
    frameAhead_.start([cache = &upscaledFrames_, source = animation.frameAt(next),
                       atlasFrames = document_->atlasFrames, next, key, layout] {
        try {
            cache->keepAhead(next, key,
                             upscaleFrame(source, atlasFrames, key.upscaler, key.match, layout));
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
            ResultSteps steps(upscaledFrames_, {}, showing(forOpening));
            showRun(pipeline_.finish(outcome, cornerQuad_, steps));
        } catch (const std::exception& e) {
            if (forOpening) {
                const Opening refused = std::move(*opening_);
                opening_.reset();
                reportOpenFailure(refused.document.path, refused.reloading, e);
            } else {
                reportProcessingFailure(e);
            }
        }
        requestRedraw();  // a result, a put-back picture, or the busy mark gone
    }
}

void QuennetApp::process() {
    if (!document_) return;
    try {
        showRun(pipeline_.process(document_->frame(), cornerQuad_, *stepsFor(*document_, false)));
    } catch (const std::exception& e) {
        reportProcessingFailure(e);
    }
}

void QuennetApp::reportProcessingFailure(const std::exception& e) {
    requestRedraw();  // what is shown was put back
    reportError(getRenderer()->getWindow(), "Cannot process the image",
                "Could not process \"" + (document_ ? document_->path : std::string()) +
                    "\": " + describeFailure(e) + ".\nThe previous picture and settings are kept.");
}

void QuennetApp::showRun(const PipelineRun& run) {
    if (!run.ran) return;
    perfLabel_->setCaption(ProcessingPipeline::perfText(run.milliseconds));
    requestRedraw();
}

void QuennetApp::showResult(const Surface& upscaled, const Surface& result, bool forOpening) {
    const gl::Texture texture = pictures_.textureFor(upscaled, result);
    if (forOpening) adoptOpening();
    pictures_.show(upscaled, result, texture);
}

void QuennetApp::showFrame(int32_t i) {
    document_->animation.show(i, getElapsedSeconds());
    // The corners stay (frames share the canvas); the pipeline makes the frame's own result.
    pictures_.nextIsAnotherFrame();
    requestRedraw();
}

void QuennetApp::showTitle() {
    std::string title = "QuennetApp";
    if (document_)
        title = document_->name() + " " + std::to_string(document_->frame().getWidth()) + "x" +
                std::to_string(document_->frame().getHeight()) + " - " +
                pipeline_.currentUpscalerName() + " - " + title;
    if (title == title_) return;
    title_ = title;
    setTitle(title);
}

void QuennetApp::draw() {
    const Vec2f window = windowSize();
    gl::setWindowMatrices(getWindowWidth(), getWindowHeight(), true);
    gl::clearWindow(ColorA(0.1f, 0.1f, 0.1f, 1.0f), true);
    gl::setColor(ColorA(1.0f, 1.0f, 1.0f, 1.0f));
    // The view of this frame before anything is drawn through it: the first frame after a zoom or
    // size change, or after a file named on the command line was opened before any frame, would
    // otherwise place the picture with the last frame's view (or none).
    cornerQuad_.setView(window.x, window.y, view_.zoom() * float(resultFactor()), view_.pan);
    PictureScene scene{view_, cornerQuad_, pipeline_, pictures_, window};
    if (document_) {
        scene.pictureWidth = document_->frame().getWidth();
        scene.pictureHeight = document_->frame().getHeight();
        scene.exactWarp = pipeline_.shows(document_->frame(), cornerQuad_.corners());
    }
    scene.previous = previousShown_;
    drawPicture(scene);
    panel_->draw();
    busyMarkShown_ = busyMarkDue();
    drawStatusLine(statusParts(), getWindowHeight());
}

std::vector<std::string> QuennetApp::statusParts() const {
    std::vector<std::string> parts;
    if (busyMarkShown_) parts.push_back("Working...");
    if (loader_.busy()) parts.push_back("Opening " + fileName(loader_.reading()) + "...");
    if (previousShown_) parts.push_back("Previous result");
    for (const std::string& message : messages_.showing(getElapsedSeconds())) parts.push_back(message);
    if (document_) {
        parts.push_back(document_->atlasStatus);
        if (document_->animation.animated()) parts.push_back(document_->animation.statusText());
    }
    parts.push_back(saveNote_);
    parts.push_back(pageNote_);
    return parts;
}

}  // namespace app
}  // namespace loom
