#include "app/QuennetApp.h"

#include "app/ErrorReport.h"
#include "app/NearestTexture.h"
#include "image/Upscale.h"
#include "image/UpscalerCatalogue.h"
#include "params/ParamPanel.h"
#include "pipeline/MakeResult.h"
#include "warp/TransformCatalogue.h"

namespace loom {
namespace app {

// The pipeline's expensive steps: upscale() and warpResult(), the two halves of the core's
// makeResult() (the pipeline caches the upscale between them), and the texture.
class QuennetApp::Work : public PipelineWork {
public:
    explicit Work(QuennetApp& app) : app_(app) {}
    Surface upscale(const Surface& source, int upscalerId, PixelMatch match) override {
        return loom::upscale(source, upscalerId, match);
    }
    Surface warp(int transformId, const Surface& upscaled, int upscalerId) override {
        return warpResult(upscaled, upscalerId, transformId, app_.cornerQuad.corners());
    }
    void show(const Surface& result) override { app_.showResult(result); }
    double seconds() override { return app_.getElapsedSeconds(); }

private:
    QuennetApp& app_;
};

QuennetApp::QuennetApp() = default;
QuennetApp::~QuennetApp() = default;

namespace {

// A catalogue's names in row order, so that a radio box's index is its row's id (ids are indexes).
template <class Info>
std::vector<std::string> namesOf(const std::vector<Info>& catalogue) {
    std::vector<std::string> names;
    for (const Info& info : catalogue) names.push_back(info.name);
    return names;
}

}  // namespace

void QuennetApp::setup() {
    zoom = 3.0f;
    showSource = false;
    reprocess = true;

    // Registered before the panel's own handlers, so that nothing reaches the panel either while
    // the save dialog is open.
    blockInputDuringDialog();

    panel = std::make_unique<params::ParamPanel>(this);
    panel->addLabel("View");
    panel->addFloatParam("Zoom", &zoom, 1.0f, 10.0f, 4.0f);
    panel->addLabel("1. Upscaling");
    panel->addRadioGroup(namesOf(upscalerCatalogue()), &pipeline.upscaler, 0);
    panel->addLabel("2. Transform");
    panel->addRadioGroup(namesOf(transformCatalogue()), &pipeline.transform, 0);
    perfLabel = panel->addLabel("Perf: 0 ms");
    panel->addBoolParam("Compare alpha", &pipeline.compareAlpha, false, 0);
}

void QuennetApp::blockInputDuringDialog() {
    auto blockMouse = [this](MouseEvent) { return inputBlocked(); };
    auto blockKey = [this](KeyEvent) { return inputBlocked(); };
    registerMouseDown(blockMouse);
    registerMouseUp(blockMouse);
    registerMouseDrag(blockMouse);
    registerMouseMove(blockMouse);
    registerMouseWheel(blockMouse);
    registerKeyDown(blockKey);
    registerKeyUp(blockKey);
    registerFileDrop([this](FileDropEvent) { return inputBlocked(); });
}

void QuennetApp::update() {
    if (!commandLineOpened_) {
        // A file named on the command line opens as if it had been dropped, once the window shows.
        commandLineOpened_ = true;
        if (getArgs().size() > 1) openImage(getArgs()[1]);
    }
    if (saveDialog_) {
        if (const std::optional<std::string> answer = saveDialog_->poll()) {
            saveDialog_.reset();
            if (!answer->empty()) finishSave(*answer);
        }
    }
    if (reprocess) process();
}

void QuennetApp::runPipeline() {
    Work work(*this);
    const PipelineRun run = pipeline.process(sourceSurface, work);
    if (run.ran) perfLabel->setCaption(ProcessingPipeline::perfText(run.milliseconds));
}

void QuennetApp::process() {
    try {
        runPipeline();
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot process the image",
                    "Could not process \"" + sourcePath + "\": " + describeFailure(e) +
                        ".\nThe previous picture and settings are kept.");
    }
}

void QuennetApp::showResult(const Surface& result) {
    const gl::Texture texture = makeNearestTexture(result);
    if (resultTexture) sourceTexture = resultTexture;
    resultTexture = texture;
}

}  // namespace app
}  // namespace loom
