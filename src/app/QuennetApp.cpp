#include "app/QuennetApp.h"

#include "app/ErrorReport.h"
#include "app/NearestTexture.h"
#include "app/QuennetPanel.h"
#include "image/Upscale.h"
#include "params/ParamPanel.h"
#include "pipeline/AtlasUpscale.h"
#include "pipeline/MakeResult.h"

namespace loom {
namespace app {

// The pipeline's expensive steps: upscale() and warpResult(), the two halves of the core's
// makeResult() (the pipeline caches the upscale between them), and the texture.
class QuennetApp::Work : public PipelineWork {
public:
    explicit Work(QuennetApp& app) : app_(app) {}
    Surface upscale(const Surface& source, int upscalerId, PixelMatch match,
                    const SheetLayout& layout) override {
        if (!app_.atlasFrames_.empty())
            return upscaleByFrames(source, app_.atlasFrames_, upscalerId, match, layout.edges);
        return loom::upscale(source, upscalerId, match, layout);
    }
    Surface warp(int transformId, const Surface& upscaled, int upscalerId,
                 const std::array<Vec2f, 4>& corners) override {
        return warpResult(upscaled, upscalerId, transformId, corners);
    }
    void show(const Surface& result) override { app_.showResult(result); }
    double seconds() override { return app_.getElapsedSeconds(); }

private:
    QuennetApp& app_;
};

QuennetApp::QuennetApp(AppStart start) : start_(std::move(start)) {}
QuennetApp::~QuennetApp() = default;

void QuennetApp::prepareSettings(Settings* settings) {
    // Kept open beside an editor all day: nothing is drawn while nothing changes.
    settings->redrawOnDemand = true;
}

void QuennetApp::setup() {
    zoom_ = 3.0f;
    showSource_ = false;
    reprocess_ = true;

    // Registered before the panel's own handlers, so that nothing reaches the panel either while
    // a dialog is open.
    blockInputDuringDialog();

    panel_ = std::make_unique<params::ParamPanel>(this);
    perfLabel_ = addQuennetControls(*panel_, zoom_, pipeline_);
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
    if (fileWatch_.changed()) reloadImage();
    if (reprocess_) process();
}

void QuennetApp::runPipeline() {
    Work work(*this);
    const PipelineRun run = pipeline_.process(sourceSurface_, cornerQuad_, work);
    if (run.ran) {
        perfLabel_->setCaption(ProcessingPipeline::perfText(run.milliseconds));
        requestRedraw();
    }
}

void QuennetApp::process() {
    try {
        runPipeline();
    } catch (const std::exception& e) {
        requestRedraw();  // what is shown was put back
        reportError(getRenderer()->getWindow(), "Cannot process the image",
                    "Could not process \"" + sourcePath_ + "\": " + describeFailure(e) +
                        ".\nThe previous picture and settings are kept.");
    }
}

void QuennetApp::showResult(const Surface& result) {
    const gl::Texture texture = makeNearestTexture(result);
    if (resultTexture_) sourceTexture_ = resultTexture_;
    resultTexture_ = texture;
}

}  // namespace app
}  // namespace loom
