// QuennetApp: the application. Drop (or name on the command line) a pixel-art image; it is enlarged
// by the upscaler chosen in the panel, optionally pinned onto the quadrilateral whose corners,
// edges and rotation the mouse edits, and shown with nearest-neighbour magnification at the
// panel's zoom. Space (held) shows the picture the last processing replaced, "o" opens an image
// through an open dialog, "s" saves the result through a save dialog, "f" toggles full screen. The
// title names the file, its size and the upscaler shown; the status line tells the rest.
//
// This class wires the rooms together: files are read into a Document off the main thread
// (document/), results are made on the pool (work/), the view is drawn from view/, the quad is
// edited from input/, and failures are told through notices/. The window never waits for a decode
// or a result: it answers input at once.
//
// Nothing the user does ends the program: a file that cannot be opened, a result that cannot be
// made or a save that fails is reported in a message box (and on stderr), and what was shown stays.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/document/Document.h"
#include "app/document/DocumentLoader.h"
#include "app/input/QuadKeys.h"
#include "app/input/QuadMouse.h"
#include "app/launch/AppCommandLine.h"
#include "app/notices/StatusMessages.h"
#include "app/view/ShownPictures.h"
#include "app/view/View.h"
#include "app/work/FrameAhead.h"
#include "app/work/PipelineThread.h"
#include "app/work/ProcessingPipeline.h"
#include "app/work/ResultSteps.h"
#include "app/work/UpscaledFrameCache.h"
#include "framework/AppBasic.h"
#include "framework/PlatformServices.h"
#include "warp/CornerQuad.h"
#include "warp/QuadHistory.h"

namespace loom {
namespace params {
class ParamPanel;
class LabelControl;
}  // namespace params

namespace app {

using framework::FileDialogKind;

class QuennetApp : public framework::AppBasic {
public:
    // The dialogs and file watch come from services: the desktop's in the program, none in tests.
    explicit QuennetApp(AppStart start = {},
                        framework::PlatformServices services = framework::doNothingServices());
    ~QuennetApp() override;

    void prepareSettings(Settings* settings) override;
    void setup() override;
    void update() override;
    void draw() override;
    void mouseDown(framework::MouseEvent event) override;
    void mouseUp(framework::MouseEvent event) override;
    void mouseMove(framework::MouseEvent event) override;
    void mouseDrag(framework::MouseEvent event) override;
    void mouseWheel(framework::MouseEvent event) override;
    void keyDown(framework::KeyEvent event) override;
    void keyUp(framework::KeyEvent event) override;
    void fileDrop(framework::FileDropEvent event) override;

private:
    // A file read and waiting for its first result: it replaces the document shown only once that
    // result is made, so that one whose result cannot be made is refused whole.
    struct Opening {
        Document document;
        gl::Texture picture;                   // its frame, shown on space until a result replaces it
        std::optional<CornerQuad> placedQuad;  // corners placed on it; none keeps those shown
        bool reloading = false;
    };

    // The file whose pictures the pipeline makes now: the one being opened, else the one shown.
    const Document* documentInWork() const;
    // The steps of a job for the frame shown of document.
    std::shared_ptr<ResultSteps> stepsFor(const Document& document, bool forOpening);
    // Shows a job's result: see showResult().
    ResultSteps::Show showing(bool forOpening);
    // Hands the pipeline's next job, if any, to the pool: never while the quad is held, whose
    // corners the preview follows until the drag ends.
    void startJob();
    // While an animation plays and nothing else is being made, makes its next frame's upscale
    // ahead of its turn, unless it is kept already.
    void makeNextFrameAhead();
    // True when a job has been under way long enough for the status line to say so.
    bool busyMarkDue() const;
    // Shows the jobs the pool made; a failure is reported and what is shown stays.
    void takeResults();
    // Runs the pipeline now, on this thread; a failure is reported and what is shown stays.
    void process();
    void reportProcessingFailure(const std::exception& e);
    // The panel's "Perf" label, after a run that made what is shown.
    void showRun(const PipelineRun& run);
    // The result of the document in work: with nothing left to fail, an opening is adopted first.
    void showResult(const Surface& upscaled, const Surface& result, bool forOpening);
    void showFrame(int32_t i);
    void showTitle();
    std::vector<std::string> statusParts() const;

    // Files (QuennetAppFiles.cpp).
    // Reads path as the new document, shown once its result is made; the user is told when it
    // cannot be read or its result cannot be made, and the document shown stays.
    void openImage(const std::string& path);
    // The document shown, read again after it changed on disk; its corners stay when its size did.
    // A failure (a file still being written, say) is told on stderr and the status line, never in
    // a message box: the next change is tried again.
    void reloadImage();
    // Opens the image after (step +1) or before (step -1) the one shown in its folder, passing over
    // those that cannot be opened (the status line names them); the picture stays if none opens.
    void openNeighbour(int step);
    // Asks for request's files to be read, superseding any earlier request and opening.
    void read(OpenRequest request);
    // A request's outcome: the document becomes the opening, or the failure is told.
    void receive(OpenOutcome outcome);
    void reportOpenFailure(const std::string& path, bool reloading, const std::exception& e);
    // The file being opened becomes the one shown.
    void adoptOpening();
    // A file read but not shown is dropped, with any job for it.
    void dropOpening();
    // Opens the open dialog in the current image's folder; the answer is taken up by update().
    void chooseImage();
    // Opens the save dialog for the current result; the answer is taken up by update().
    void save();
    void finishSave(const std::string& path);
    // Starts a dialog, ending any press the dialog's window would keep from us.
    void startDialog(FileDialogKind kind, const std::string& initialPath,
                     const std::vector<std::string>& extensions);
    // The dialog's answer, once it has closed.
    void takeDialogAnswer();
    // True while a dialog is open: the window keeps drawing but takes no input of its own.
    bool inputBlocked() const { return dialog_ != nullptr; }
    void blockInputDuringDialog();

    // The clipboard (QuennetAppClipboard.cpp).
    // Ctrl+C: the result shown, offered to other programs.
    void copyResult();
    // Ctrl+V: asks for the clipboard's picture; receivePaste() takes it up.
    void pastePicture();
    void receivePaste(const framework::Pasted& pasted);
    // The folder a picture without one of its own is saved in: of the last file opened or saved,
    // else the home folder.
    std::string lastFolder() const;

    // The view (QuennetAppInput.cpp).
    Vec2f windowSize() const;
    // The factor of the result shown, which the zoom's level is for.
    int resultFactor() const;
    // "0": the picture as large as fits beside the panel.
    void fitToWindow();

    AppStart start_;  // the command line's choices and file
    framework::PlatformServices services_;
    std::unique_ptr<params::ParamPanel> panel_;  // its controls write into the members below
    params::LabelControl* perfLabel_ = nullptr;
    CornerQuad cornerQuad_;
    // The panel's selections, the current ids and the cached upscale and result.
    ProcessingPipeline pipeline_;
    QuadHistory quadHistory_;  // the quad's changes since the picture was opened
    QuadMouse quadMouse_{cornerQuad_, pipeline_, quadHistory_};
    QuadKeys quadKeys_{cornerQuad_, pipeline_, quadHistory_};
    View view_;
    ShownPictures pictures_;
    bool previousShown_ = false;  // space held
    double busySince_ = 0.0;      // when the jobs under way began
    bool busyMarkShown_ = false;  // the status line drawn last says "Working..."

    std::optional<Document> document_;  // the file shown
    std::optional<Opening> opening_;    // the file whose first result is being made
    uint64_t openingJob_ = 0;           // the last job asked for it
    uint64_t filesRead_ = 0;
    std::unique_ptr<framework::FileDialog> dialog_;
    // The last result saved and where, which a copy of that result names too.
    struct Saved {
        Surface result;
        std::string path;
    };
    std::optional<Saved> saved_;
    std::string lastPath_;     // the last file opened or saved
    std::string saveNote_;     // what the last save could not keep, on the status line
    std::string pageNote_;     // the files Page Down or Up passed over, on the status line
    StatusMessages messages_;  // the status line's messages of the moment
    std::string title_;        // the window's
    bool commandLineOpened_ = false;
    UpscaledFrameCache upscaledFrames_;  // the animation's frames once upscaled
    // Last, in this order: gone before anything their tasks use.
    FrameAhead frameAhead_;  // the next frame, made while the shown one plays
    DocumentLoader loader_;
    PipelineThread pipelineThread_;
};

}  // namespace app
}  // namespace loom
