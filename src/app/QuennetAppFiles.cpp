// Opening images (dropped, chosen in the open dialog, named on the command line, paged to or
// rewritten on disk) and saving the result. Files are read off the main thread; the window goes on.
#include <algorithm>
#include <iostream>

#include "app/QuennetApp.h"
#include "app/document/FolderPaging.h"
#include "app/document/ResultSaving.h"
#include "app/notices/ErrorReport.h"
#include "app/view/NearestTexture.h"
#include "image/UpscalerCatalogue.h"
#include "io/ImageFile.h"
#include "io/codec/BuiltInCodecs.h"
#include "params/ParamPanel.h"
#include "pipeline/ResultName.h"

namespace loom {
namespace app {

namespace {

// The largest factor of the panel's modes and the one in use (the command line may pick another).
int largestFactorOffered(int currentUpscaler) {
    int largest = upscalerById(currentUpscaler).factor;
    for (const UpscalerInfo& mode : upscalerCatalogue()) largest = std::max(largest, mode.factor);
    return largest;
}

// The first file passed over and why, and how many more.
std::string passedOver(const std::vector<UnreadableFile>& unreadable) {
    std::string text;
    try {
        std::rethrow_exception(unreadable.front().why);
    } catch (const std::exception& e) {
        text = fileName(unreadable.front().path) + ": " + describeFailure(e);
    }
    if (unreadable.size() > 1) text += " (and " + std::to_string(unreadable.size() - 1) + " more)";
    return text;
}

}  // namespace

void QuennetApp::fileDrop(framework::FileDropEvent event) {
    if (event.getNumFiles() > 0) openImage(event.getFile(0));  // further files are ignored
}

void QuennetApp::openImage(const std::string& path) {
    OpenRequest request;
    request.paths = {path};
    read(std::move(request));
}

void QuennetApp::reloadImage() {
    OpenRequest request;
    request.paths = {document_->path};
    request.reloading = true;
    request.unlessStamp = document_->stamp;
    read(std::move(request));
}

void QuennetApp::openNeighbour(int step) {
    // From the file being read or opened, if one is: a second press goes on from there.
    const std::string from = loader_.busy() ? loader_.reading()
                             : opening_     ? opening_->document.path
                             : document_    ? document_->path
                                            : std::string();
    if (from.empty()) return;
    OpenRequest request;
    request.paths = pagingOrder(from, step);
    request.paging = true;
    if (request.paths.empty()) {
        pageNote_ = "No other image in this folder";
        requestRedraw();
        return;
    }
    read(std::move(request));
}

void QuennetApp::read(OpenRequest request) {
    request.choices = {resultFactor(), largestFactorOffered(pipeline_.currentUpscaler), start_.file,
                       start_.atlas};
    dropOpening();
    loader_.request(std::move(request));
    requestRedraw();  // "Opening ..."
}

void QuennetApp::receive(OpenOutcome outcome) {
    requestRedraw();
    const OpenRequest& request = outcome.request;
    if (outcome.unchanged) return;
    if (request.paging) {
        // Told on the status line rather than in a message box, which would stop the paging at each.
        for (const UnreadableFile& file : outcome.unreadable) {
            try {
                std::rethrow_exception(file.why);
            } catch (const std::exception& e) {
                std::cerr << "QuennetApp: Skipped \"" << file.path << "\": " << describeFailure(e)
                          << ".\n";
            }
        }
        if (!outcome.document) {
            pageNote_ = "No other image in this folder opens: " + passedOver(outcome.unreadable);
            return;
        }
    }
    if (!outcome.document) {
        try {
            std::rethrow_exception(outcome.unreadable.back().why);
        } catch (const std::exception& e) {
            reportOpenFailure(outcome.unreadable.back().path, request.reloading, e);
        }
        return;
    }
    Opening opening{std::move(*outcome.document), {}, {}, request.reloading};
    Document& document = opening.document;
    document.id = ++filesRead_;
    // A reloaded animation stays on its frame while its frame count does.
    if (request.reloading && document_ &&
        document.animation.frameCount() == document_->animation.frameCount())
        document.animation.show(document_->animation.index(), getElapsedSeconds());
    try {
        opening.picture = makeNearestTexture(document.frame());
    } catch (const std::exception& e) {
        reportOpenFailure(document.path, request.reloading, e);
        return;
    }
    const Surface& frame = document.frame();
    // A reload keeps the corners while the picture keeps its size.
    if (!request.reloading || !document_ || frame.getWidth() != document_->frame().getWidth() ||
        frame.getHeight() != document_->frame().getHeight()) {
        opening.placedQuad = cornerQuad_;
        opening.placedQuad->placeOnImage(float(frame.getWidth()), float(frame.getHeight()));
    }
    saveNote_.clear();
    pageNote_ = request.paging && !outcome.unreadable.empty()
                    ? "Skipped " + passedOver(outcome.unreadable)
                    : std::string();
    opening_ = std::move(opening);
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

void QuennetApp::adoptOpening() {
    Opening opening = std::move(*opening_);
    opening_.reset();
    if (!opening.document.pasted) {
        if (!document_ || opening.document.path != document_->path)
            services_.watch->follow(opening.document.path);
        lastPath_ = opening.document.path;
    }
    document_ = std::move(opening.document);
    pictures_.opened(opening.picture);
    upscaledFrames_.keepOnly(document_->id);
    if (opening.placedQuad) {
        cornerQuad_ = *opening.placedQuad;
        view_.pan = Vec2f();   // a new picture is shown centred
        quadHistory_.clear();  // undo leads back through the changes of these corners only
    }
}

void QuennetApp::dropOpening() {
    if (!opening_) return;
    opening_.reset();
    pipeline_.abandonJob();
}

void QuennetApp::chooseImage() {
    if (dialog_) return;
    // The folder of the image shown, where its neighbours are (of the last file, for a pasted
    // picture); else where the program started.
    const std::string shown = document_ && !document_->pasted ? document_->path : lastPath_;
    const size_t slash = shown.rfind('/');
    startDialog(FileDialogKind::OPEN, slash == std::string::npos ? "" : shown.substr(0, slash + 1),
                builtInReadExtensions());
}

void QuennetApp::save() {
    if (dialog_) return;
    const std::string pending = opening_ ? opening_->document.path : loader_.reading();
    if (!pending.empty()) {
        // What would be saved is about to be replaced.
        messages_.tell("Opening " + fileName(pending) + ": save once it is shown", getElapsedSeconds());
        requestRedraw();
        return;
    }
    if (!document_) {
        // On the panel rather than in a message box, which a held key would open once per repeat.
        perfLabel_->setCaption("Nothing to save yet");
        return;
    }
    // What the selections and corners ask for may not be made yet (a drag just ended, or a job is
    // under way): make it now, so that the press of "s" saves what the window is about to show.
    // A failure has been reported.
    process();
    if (!pipeline_.resultSurface) return;
    // A pasted picture has no folder of its own: its result goes where the last file was.
    const std::string source = document_->pasted ? lastFolder() + "/clipboard.png" : document_->path;
    startDialog(FileDialogKind::SAVE, resultNameFor(source, pipeline_.currentUpscalerName()),
                getWriteExtensions());
}

void QuennetApp::finishSave(const std::string& path) {
    saveNote_.clear();
    try {
        saveNote_ = saveShownResult(path, *document_, pipeline_, cornerQuad_, upscaledFrames_);
        saved_ = Saved{pipeline_.resultSurface, path};
        lastPath_ = path;
        messages_.tell("Saved " + fileName(path), getElapsedSeconds());
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(), "Cannot save the image",
                    "Could not save \"" + path + "\": " + describeFailure(e) +
                        ".\nNothing was written; an existing file of that name is unchanged.");
    }
    requestRedraw();
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
        view_.release();
    } catch (const std::exception& e) {
        reportError(getRenderer()->getWindow(),
                    kind == FileDialogKind::SAVE ? "Cannot save the image" : "Cannot open the image",
                    describeFailure(e) + ".");
    }
}

void QuennetApp::takeDialogAnswer() {
    if (!dialog_) return;
    const std::optional<std::string> answer = dialog_->poll();
    if (!answer) return;
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

}  // namespace app
}  // namespace loom
