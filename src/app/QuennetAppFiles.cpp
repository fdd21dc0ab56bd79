// Opening images (dropped, chosen in the open dialog, or named on the command line) and saving the
// result.
#include <filesystem>
#include <iostream>

#include "app/ErrorReport.h"
#include "app/FolderPaging.h"
#include "app/NearestTexture.h"
#include "app/QuennetApp.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageFile.h"
#include "io/ImageSourceSurface.h"
#include "io/codec/BuiltInCodecs.h"
#include "params/ParamPanel.h"
#include "pipeline/MakeResult.h"
#include "pipeline/ResultName.h"
#include "pipeline/ScaledAtlas.h"
#include "pipeline/WriteResult.h"

namespace loom {
namespace app {

namespace {

// Without its folder, as the title and the status line name a file.
std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

}  // namespace

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
        messages_.tell("Cannot reload " + fileName(sourcePath_) + ": " + describeFailure(e),
                       getElapsedSeconds());
        requestRedraw();
    }
}

void QuennetApp::loadImageFile(const std::string& path, bool reloading) {
    // Everything a failed open must give back.
    const std::string oldPath = sourcePath_;
    const Surface oldSource = sourceSurface_;
    const Palette oldPalette = sourcePalette_;
    const std::optional<Atlas> oldAtlas = atlas_;
    const std::vector<AtlasFrame> oldFrames = atlasFrames_;
    const std::string oldStatus = status_;
    const Animation oldAnimation = animation_;
    const gl::Texture oldSourceTexture = sourceTexture_;
    const gl::Texture oldResultTexture = resultTexture_;
    const gl::Texture oldUpscaledTexture = upscaledTexture_;
    const Surface oldUpscaledShown = upscaledShown_;
    const ProcessingPipeline oldPipeline = pipeline_;
    const CornerQuad oldQuad = cornerQuad_;
    const Vec2f oldPan = pan_;
    try {
        const ImageSourceRef source = loadImage(path);
        const Surface first(source);
        const Palette palette = source->getPalette();
        Animation animation(first, source);
        // A reloaded animation stays on its frame while its frame count does.
        if (reloading && animation.frameCount() == oldAnimation.frameCount())
            animation.show(oldAnimation.index(), getElapsedSeconds());
        const Surface loaded = animation.frame();
        const gl::Texture texture = makeNearestTexture(loaded);

        const bool sameSize = oldSource && loaded.getWidth() == oldSource.getWidth() &&
                              loaded.getHeight() == oldSource.getHeight();
        sourcePath_ = path;
        sourceSurface_ = loaded;
        sourcePalette_ = palette;
        animation_ = animation;
        upscaledFrames_.clear();
        saveNote_.clear();
        pageNote_.clear();
        findAtlas(path, loaded);
        sourceTexture_ = texture;
        pipeline_.discardAll();
        const bool placed = !reloading || !sameSize;
        if (placed) {
            cornerQuad_.placeOnImage(float(loaded.getWidth()), float(loaded.getHeight()));
            pan_ = Vec2f();  // a new picture is shown centred
        }

        ++opened_;
        // A file opened is shown only once its result is made, so that one whose result cannot
        // be is refused whole. A reload keeps the window going while its result is made in the
        // background, as for any other change; a failure then keeps the picture shown.
        if (!reloading) runPipeline();
        if (path != oldPath) fileWatch_.follow(path);
        // Undo leads back through the changes of these corners only.
        if (placed) quadHistory_.clear();
    } catch (const std::exception&) {
        sourcePath_ = oldPath;
        sourceSurface_ = oldSource;
        sourcePalette_ = oldPalette;
        atlas_ = oldAtlas;
        atlasFrames_ = oldFrames;
        status_ = oldStatus;
        animation_ = oldAnimation;
        upscaledFrames_.clear();
        sourceTexture_ = oldSourceTexture;
        resultTexture_ = oldResultTexture;
        upscaledTexture_ = oldUpscaledTexture;
        upscaledShown_ = oldUpscaledShown;
        pendingUpscale_ = Surface();
        pipeline_ = oldPipeline;
        cornerQuad_ = oldQuad;
        pan_ = oldPan;
        throw;
    }
}

void QuennetApp::openNeighbour(int step) {
    if (sourcePath_.empty()) return;
    // Told on the status line rather than in a message box, which would stop the paging at each.
    std::string skipped;  // the first file passed over, and why
    int skippedMore = 0;
    const auto passedOver = [&] {
        return skipped + (skippedMore > 0 ? " (and " + std::to_string(skippedMore) + " more)" : "");
    };
    for (const std::string& path : pagingOrder(sourcePath_, step)) {
        try {
            loadImageFile(path, false);
            if (!skipped.empty()) pageNote_ = "Skipped " + passedOver();
            return;
        } catch (const std::exception& e) {
            std::cerr << "QuennetApp: Skipped \"" << path << "\": " << describeFailure(e) << ".\n";
            if (skipped.empty())
                skipped = std::filesystem::path(path).filename().string() + ": " + describeFailure(e);
            else
                ++skippedMore;
        }
    }
    pageNote_ = skipped.empty() ? "No other image in this folder"
                                : "No other image in this folder opens: " + passedOver();
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
    // What the selections and corners ask for may not be made yet (a drag just ended, or a job is
    // under way): make it now, so that the press of "s" saves what the window is about to show.
    // A failure has been reported.
    process();
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

void QuennetApp::findAtlas(const std::string& path, const Surface& sheet) {
    atlas_.reset();
    atlasFrames_.clear();
    status_.clear();
    std::string atlasPath = path == start_.file ? start_.atlas : std::string();
    if (atlasPath.empty()) {
        const std::string beside = std::filesystem::path(path).replace_extension(".json").string();
        std::error_code ignored;
        if (std::filesystem::is_regular_file(beside, ignored)) atlasPath = beside;
    }
    if (atlasPath.empty()) return;
    const std::string name = fileName(atlasPath);
    try {
        Atlas atlas = readAtlas(atlasPath);
        atlasFrames_ = framesOnSheet(atlas, sheet.getWidth(), sheet.getHeight());
        atlas_ = std::move(atlas);
        status_ = "Atlas " + name + ": " + std::to_string(atlasFrames_.size()) + " frames";
    } catch (const std::exception& e) {
        // A broken atlas does not keep the picture from being shown, as a plain sheet.
        atlasFrames_.clear();
        status_ = "Atlas " + name + " not used: " + e.what();
        std::cerr << "QuennetApp: " << status_ << '\n';
    }
}

void QuennetApp::showTitle() {
    std::string title = "QuennetApp";
    if (sourceSurface_)
        title = fileName(sourcePath_) + " " + std::to_string(sourceSurface_.getWidth()) + "x" +
                std::to_string(sourceSurface_.getHeight()) + " - " + pipeline_.currentUpscalerName() +
                " - " + title;
    if (title == title_) return;
    title_ = title;
    setTitle(title);
}

void QuennetApp::finishSave(const std::string& path) {
    saveNote_.clear();
    try {
        if (animation_.animated()) {
            if (const std::unique_ptr<AnimationWriter> writer =
                    openAnimationWriter(path, animation_.loopCount(), sourcePalette_)) {
                saveAnimation(*writer);
                messages_.tell("Saved " + fileName(path), getElapsedSeconds());
                return;
            }
            saveNote_ = "Saved frame " + std::to_string(animation_.index() + 1) + " of " +
                        std::to_string(animation_.frameCount()) + " only: the format holds no animation";
            requestRedraw();
        }
        ResultOptions options;
        options.palette = sourcePalette_;
        const std::string note = writeResult(path, pipeline_.resultSurface, options);
        if (!note.empty()) std::cerr << "QuennetApp: " << path << ": " << note << '\n';
        // The atlas goes with the sheet it describes; a warped sheet has none.
        if (atlas_ && pipeline_.currentTransform == 0)
            writeAtlas(atlasPathFor(path),
                       scaledAtlas(atlas_->document, upscalerById(pipeline_.currentUpscaler).factor,
                                   fileName(path)));
        messages_.tell("Saved " + fileName(path), getElapsedSeconds());
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot save the image",
                    "Could not save \"" + path + "\": " + describeFailure(e) +
                        ".\nNothing was written; an existing file of that name is unchanged.");
    }
}

}  // namespace app
}  // namespace loom
