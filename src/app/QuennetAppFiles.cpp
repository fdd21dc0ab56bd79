// Opening images (dropped, chosen in the open dialog, or named on the command line) and saving the
// result.
#include <algorithm>
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
#include "pipeline/ResultWithAtlasTarget.h"
#include "pipeline/ScaledAtlas.h"
#include "pipeline/WriteResult.h"

namespace loom {
namespace app {

namespace {

// Without its folder, as the title and the status line name a file.
std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// The largest factor of the panel's modes and the one in use (the command line may pick another).
int largestFactorOffered(int currentUpscaler) {
    int largest = upscalerById(currentUpscaler).factor;
    for (const UpscalerInfo& mode : upscalerCatalogue()) largest = std::max(largest, mode.factor);
    return largest;
}

}  // namespace

void QuennetApp::fileDrop(framework::FileDropEvent event) {
    if (event.getNumFiles() > 0) openImage(event.getFile(0));  // further files are ignored
}

void QuennetApp::openImage(const std::string& path) {
    try {
        loadImageFile(path, false);
    } catch (const std::exception& e) {
        reportOpenFailure(path, false, e);
    }
}

void QuennetApp::reloadImage() {
    try {
        loadImageFile(sourcePath_, true);
    } catch (const std::exception& e) {
        reportOpenFailure(sourcePath_, true, e);
    }
}

void QuennetApp::reportOpenFailure(const std::string& path, bool reloading, const std::exception& e) {
    requestRedraw();
    if (!reloading) {
        reportError(getRenderer()->getWindow(), "Cannot open the image",
                    "Could not open \"" + path + "\": " + describeFailure(e) + ".");
        return;
    }
    std::cerr << "QuennetApp: Cannot reload \"" << path << "\": " << describeFailure(e)
              << ". The picture shown stays." << std::endl;
    messages_.tell("Cannot reload " + fileName(path) + ": " + describeFailure(e), getElapsedSeconds());
}

void QuennetApp::loadImageFile(const std::string& path, bool reloading) {
    // A picture whose result would be too large is refused before it is decoded.
    const ImageSourceRef source = loadImage(path, ImageSource::Options().setScale(resultFactor()));
    OpenedFile file;
    file.path = path;
    file.reloading = reloading;
    file.palette = source->getPalette();
    file.animation = Animation(Surface(source), source);
    // A reloaded animation stays on its frame while its frame count does.
    if (reloading && file.animation.frameCount() == animation_.frameCount())
        file.animation.show(animation_.index(), getElapsedSeconds());
    file.source = file.animation.frame();
    file.sourceTexture = makeNearestTexture(file.source);
    findAtlas(file);
    // A reload keeps the corners while the picture keeps its size.
    if (!reloading || !sourceSurface_ || file.source.getWidth() != sourceSurface_.getWidth() ||
        file.source.getHeight() != sourceSurface_.getHeight()) {
        file.placedQuad = cornerQuad_;
        file.placedQuad->placeOnImage(float(file.source.getWidth()), float(file.source.getHeight()));
    }
    file.id = ++filesRead_;
    saveNote_.clear();
    pageNote_.clear();
    opening_ = std::move(file);
    requestRedraw();
}

void QuennetApp::adoptOpening() {
    OpenedFile& file = *opening_;
    if (file.path != sourcePath_) services_.watch->follow(file.path);
    sourcePath_ = file.path;
    sourceSurface_ = file.source;
    sourcePalette_ = file.palette;
    animation_ = file.animation;
    atlas_ = file.atlas;
    atlasFrames_ = file.atlasFrames;
    status_ = file.atlasStatus;
    sourceTexture_ = file.sourceTexture;
    fileId_ = file.id;
    upscaledFrames_.keepOnly(fileId_);
    if (file.placedQuad) {
        cornerQuad_ = *file.placedQuad;
        pan_ = Vec2f();        // a new picture is shown centred
        quadHistory_.clear();  // undo leads back through the changes of these corners only
    }
    opening_.reset();
}

void QuennetApp::openNeighbour(int step) {
    // From the file being opened, if one is: a second press goes on from there.
    const std::string from = opening_ ? opening_->path : sourcePath_;
    if (from.empty()) return;
    // Told on the status line rather than in a message box, which would stop the paging at each.
    std::string skipped;  // the first file passed over, and why
    int skippedMore = 0;
    const auto passedOver = [&] {
        return skipped + (skippedMore > 0 ? " (and " + std::to_string(skippedMore) + " more)" : "");
    };
    for (const std::string& path : pagingOrder(from, step)) {
        try {
            loadImageFile(path, false);
            if (!skipped.empty()) pageNote_ = "Skipped " + passedOver();
            return;
        } catch (const std::exception& e) {
            std::cerr << "QuennetApp: Skipped \"" << path << "\": " << describeFailure(e) << ".\n";
            if (skipped.empty())
                skipped = fileName(path) + ": " + describeFailure(e);
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
    if (opening_) {
        // Its result is being made: what would be saved is about to be replaced.
        messages_.tell("Opening " + fileName(opening_->path) + ": save once it is shown",
                       getElapsedSeconds());
        requestRedraw();
        return;
    }
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
        dialog_ = services_.dialogs->start(kind, initialPath, extensions);
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

void QuennetApp::findAtlas(OpenedFile& file) const {
    const std::string named = file.path == start_.file ? start_.atlas : std::string();
    std::string atlasPath = named;
    if (atlasPath.empty()) {
        const std::string beside = std::filesystem::path(file.path).replace_extension(".json").string();
        std::error_code ignored;
        if (std::filesystem::is_regular_file(beside, ignored)) atlasPath = beside;
    }
    if (atlasPath.empty()) return;
    const std::string name = fileName(atlasPath);
    try {
        Atlas atlas = readAtlas(atlasPath);
        // Checked for every mode the panel offers, as the mode may change while the sheet is shown.
        file.atlasFrames = framesOnSheet(atlas, file.source.getWidth(), file.source.getHeight(),
                                         largestFactorOffered(pipeline_.currentUpscaler));
        file.atlas = std::move(atlas);
        file.atlasStatus = "Atlas " + name + ": " + std::to_string(file.atlasFrames.size()) + " frames";
    } catch (const AtlasExc& e) {
        // One asked for must be used: opening fails rather than show the sheet cut otherwise.
        if (!named.empty()) throw;
        // One merely found beside does not keep the picture from being shown, as a plain sheet.
        file.atlasFrames.clear();
        file.atlasStatus = "Atlas " + name + " not used: " + e.what();
        std::cerr << "QuennetApp: " << file.atlasStatus << '\n';
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
                saveNote_ = writer->note();
                messages_.tell("Saved " + fileName(path), getElapsedSeconds());
                return;
            }
            saveNote_ = "Saved frame " + std::to_string(animation_.index() + 1) + " of " +
                        std::to_string(animation_.frameCount()) + " only: the format holds no animation";
            requestRedraw();
        }
        ResultOptions options;
        options.palette = sourcePalette_;
        // The atlas goes with the sheet it describes, both or neither; a warped sheet has none.
        const std::string note =
            atlas_ && pipeline_.currentTransform == 0
                ? writeResult(std::make_shared<ResultWithAtlasTarget>(
                                  path, scaledAtlas(atlas_->document,
                                                    upscalerById(pipeline_.currentUpscaler).factor,
                                                    fileName(path))),
                              pipeline_.resultSurface, options)
                : writeResult(path, pipeline_.resultSurface, options);
        if (!note.empty()) std::cerr << "QuennetApp: " << path << ": " << note << '\n';
        messages_.tell("Saved " + fileName(path), getElapsedSeconds());
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot save the image",
                    "Could not save \"" + path + "\": " + describeFailure(e) +
                        ".\nNothing was written; an existing file of that name is unchanged.");
    }
}

}  // namespace app
}  // namespace loom
