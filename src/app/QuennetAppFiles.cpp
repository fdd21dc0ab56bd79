// Opening images (dropped, chosen in the open dialog, or named on the command line) and saving the
// result.
#include <iostream>

#include "app/ErrorReport.h"
#include "app/NearestTexture.h"
#include "app/QuennetApp.h"
#include "io/ImageFile.h"
#include "io/codec/BuiltInCodecs.h"
#include "params/ParamPanel.h"
#include "pipeline/ResultName.h"
#include "pipeline/WriteResult.h"

namespace loom {
namespace app {

void QuennetApp::fileDrop(framework::FileDropEvent event) {
    if (event.getNumFiles() > 0) openImage(event.getFile(0));  // further files are ignored
}

void QuennetApp::openImage(const std::string& path) {
    try {
        loadImageFile(path, false);
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot open the image",
                    "Could not open \"" + path + "\": " + describeFailure(e) + ".");
    }
}

void QuennetApp::reloadImage() {
    try {
        loadImageFile(sourcePath_, true);
        requestRedraw();
    } catch (const std::exception& e) {
        std::cerr << "QuennetApp: Cannot reload \"" << sourcePath_ << "\": " << describeFailure(e)
                  << ". The picture shown stays." << std::endl;
    }
}

void QuennetApp::loadImageFile(const std::string& path, bool keepCorners) {
    // Everything a failed open must give back.
    const std::string oldPath = sourcePath_;
    const Surface oldSource = sourceSurface_;
    const Palette oldPalette = sourcePalette_;
    const gl::Texture oldSourceTexture = sourceTexture_;
    const gl::Texture oldResultTexture = resultTexture_;
    const ProcessingPipeline oldPipeline = pipeline_;
    const CornerQuad oldQuad = cornerQuad_;
    const Vec2f oldPan = pan_;
    try {
        const ImageSourceRef source = loadImage(path);
        Surface loaded(source);
        if (source->getFrameCount() > 1)
            std::cerr << "QuennetApp: \"" << path << "\" has " << source->getFrameCount()
                      << " frames; the window works on the first (quennet keeps them all)." << std::endl;
        const gl::Texture texture = makeNearestTexture(loaded);

        const bool sameSize = oldSource && loaded.getWidth() == oldSource.getWidth() &&
                              loaded.getHeight() == oldSource.getHeight();
        sourcePath_ = path;
        sourceSurface_ = loaded;
        sourcePalette_ = source->getPalette();
        sourceTexture_ = texture;
        pipeline_.discardAll();
        if (!keepCorners || !sameSize) {
            cornerQuad_.placeOnImage(float(loaded.getWidth()), float(loaded.getHeight()));
            pan_ = Vec2f();  // a new picture is shown centred
        }

        runPipeline();
        if (path != oldPath) fileWatch_.follow(path);
    } catch (const std::exception&) {
        sourcePath_ = oldPath;
        sourceSurface_ = oldSource;
        sourcePalette_ = oldPalette;
        sourceTexture_ = oldSourceTexture;
        resultTexture_ = oldResultTexture;
        pipeline_ = oldPipeline;
        cornerQuad_ = oldQuad;
        pan_ = oldPan;
        throw;
    }
}

void QuennetApp::chooseImage() {
    if (dialog_) return;
    // The folder of the image shown, where its neighbours are; else where the program started.
    const size_t slash = sourcePath_.rfind('/');
    startDialog(FileDialogKind::OPEN, slash == std::string::npos ? "" : sourcePath_.substr(0, slash + 1),
                builtInReadExtensions());
}

void QuennetApp::save() {
    if (dialog_) return;
    if (!sourceSurface_) {
        // On the panel rather than in a message box, which a held key would open once per repeat.
        perfLabel_->setCaption("Nothing to save yet");
        return;
    }
    // A drag handled in this batch of events discarded the result: make it now, so that the
    // press of "s" is not lost. A failure has been reported.
    if (!pipeline_.resultSurface) process();
    if (!pipeline_.resultSurface) return;
    startDialog(FileDialogKind::SAVE, resultNameFor(sourcePath_, pipeline_.currentUpscalerName()),
                getWriteExtensions());
}

void QuennetApp::startDialog(FileDialogKind kind, const std::string& initialPath,
                             const std::vector<std::string>& extensions) {
    try {
        dialog_ = std::make_unique<FileDialog>(kind, initialPath, extensions);
        // The dialog takes the mouse and input is blocked while it is open, so the release of a
        // button held now never arrives: end the press on a panel control and any drag or
        // rotation of the quad here.
        panel_->releaseCapture();
        cornerQuad_.release(false, false);
        panning_ = false;
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(),
                    kind == FileDialogKind::SAVE ? "Cannot save the image" : "Cannot open the image",
                    describeFailure(e) + ".");
    }
}

void QuennetApp::finishSave(const std::string& path) {
    try {
        ResultOptions options;
        options.palette = sourcePalette_;
        const std::string note = writeResult(path, pipeline_.resultSurface, options);
        if (!note.empty()) std::cerr << "QuennetApp: " << path << ": " << note << '\n';
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot save the image",
                    "Could not save \"" + path + "\": " + describeFailure(e) +
                        ".\nNothing was written; an existing file of that name is unchanged.");
    }
}

}  // namespace app
}  // namespace loom
