// QuennetApp: the application. Drop (or name on the command line) a pixel-art image; it is enlarged
// by the upscaler chosen in the panel, optionally pinned onto the quadrilateral whose corners,
// edges and rotation the mouse edits, and shown with nearest-neighbour magnification at the
// panel's zoom: whole screen pixels per result pixel (or result pixels per screen pixel). Space
// (held) shows the picture the last processing replaced, "o" opens an image through an open
// dialog, "s" saves the result through a save dialog, "f" toggles full screen. The title names the
// file, its size and the upscaler shown; the status line tells the rest for a few seconds.
// Results are made on a thread of their own (the window never waits for one); while the quad is
// dragged, the GPU shows the warp as a preview until the exact result is made.
//
// Nothing the user does ends the program: a file that cannot be opened, a result that cannot be
// made or a save that fails is reported in a message box (and on stderr), and what was shown stays.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Animation.h"
#include "app/AppCommandLine.h"
#include "app/FrameAhead.h"
#include "app/PipelineThread.h"
#include "app/ProcessingPipeline.h"
#include "app/QuadKeys.h"
#include "app/QuadMouse.h"
#include "app/StatusMessages.h"
#include "app/UpscaledFrameCache.h"
#include "framework/AppBasic.h"
#include "framework/PlatformServices.h"
#include "gl/DrawOverCheckerboard.h"
#include "gl/Texture.h"
#include "image/Surface.h"
#include "io/Palette.h"
#include "io/codec/AnimationWriter.h"
#include "pipeline/Atlas.h"
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
    class Work;

    // Runs the pipeline now, on this thread, and shows its time on the panel; throws what a step
    // throws, after the pipeline has put back what was shown.
    void runPipeline();
    // Hands the pipeline's next job, if any, to its thread: never while the quad is held, whose
    // corners the preview follows until the drag ends.
    void startJob();
    // While an animation plays and nothing else is being made, makes its next frame's upscale
    // ahead of its turn, unless it is kept already.
    void makeNextFrameAhead();
    // True when a job has been under way long enough for the status line to say so.
    bool busyMarkDue() const;
    // Shows the jobs the pipeline's thread made; a failure is reported and what is shown stays.
    void takeResults();
    void reportProcessingFailure(const std::exception& e);
    // The panel's "Perf" label, after a run that made what is shown.
    void showRun(const PipelineRun& run);
    void drawCellOutlines(const Vec2f& topLeft, float factor);
    void drawStatusLine();
    // The title for the file and upscaler shown, set when it changed.
    void showTitle();
    // A file read and waiting for its first result, with everything that comes with it: it
    // replaces the file shown only once that result is made, so that one whose result cannot be
    // made is refused whole, and the window goes on meanwhile.
    struct OpenedFile {
        std::string path;
        Surface source;  // the frame shown
        Palette palette;
        Animation animation;
        std::optional<Atlas> atlas;
        std::vector<AtlasFrame> atlasFrames;
        std::string atlasStatus;  // what the status line says of the atlas
        gl::Texture sourceTexture;
        std::optional<CornerQuad> placedQuad;  // corners placed on it; none keeps those shown
        uint64_t id = 0;                       // which file read, so that frames never mix
        bool reloading = false;
    };
    // Reads the atlas for the sheet of file, if there is one. A broken one found beside the sheet is
    // named on the status line and ignored; a broken one named by --atlas throws AtlasExc naming it.
    void findAtlas(OpenedFile& file) const;
    // Runs the pipeline now; a failure is reported and what is shown stays.
    void process();
    // Reads path as the new image, shown once its result is made in the background. All or
    // nothing: when the file cannot be read or its result cannot be made, the previous image, path
    // and results stay, and the user is told.
    void openImage(const std::string& path);
    // The image shown, read again after it changed on disk; its corners stay when its size did.
    // A failure (a file still being written, say) keeps the picture and is told on stderr and
    // the status line, never in a message box: the next change is tried again.
    void reloadImage();
    // openImage's and reloadImage's work: reads the file to be shown once its result is made;
    // throws, with nothing changed, when it cannot be read.
    void loadImageFile(const std::string& path, bool reloading);
    // A file that could not be read or whose result could not be made: in a message box when
    // opened, on the status line when reloaded (which the next change tries again).
    void reportOpenFailure(const std::string& path, bool reloading, const std::exception& e);
    // The file being opened becomes the one shown, its first result made.
    void adoptOpening();
    // Opens the image after (step +1) or before (step -1) the one shown in its folder, skipping
    // those that cannot be opened (the status line names them); the picture stays if none opens.
    void openNeighbour(int step);
    // Opens the open dialog in the current image's folder; the answer is taken up by update().
    void chooseImage();
    // Opens the save dialog for the current result; the answer is taken up by update().
    void save();
    // Starts a dialog, ending any press the dialog's window would keep from us.
    void startDialog(FileDialogKind kind, const std::string& initialPath,
                     const std::vector<std::string>& extensions);
    void finishSave(const std::string& path);
    // Every frame of the animation made and written by writer, with the file's delays.
    void saveAnimation(AnimationWriter& writer);
    // Shows frame i of the animation: it becomes the source the pipeline makes the result of.
    void showFrame(int32_t i);
    // The result, and the upscale it was warped from, as textures with nearest-neighbour
    // magnification; the previous result becomes the texture shown while space is held.
    // forOpening: the result is the first of the file being opened, which then is adopted.
    void showResult(const Surface& upscaled, const Surface& result, bool forOpening);
    // The upscale a warped result was made from, as the preview's texture.
    void uploadPendingUpscale();
    // True while a dialog is open: the window keeps drawing but takes no input of its own.
    bool inputBlocked() const { return dialog_ != nullptr; }
    void blockInputDuringDialog();
    void drawUnwarped(const gl::Texture& texture);
    const gl::Texture& shownTexture() const { return showSource_ ? sourceTexture_ : resultTexture_; }

    // View navigation (QuennetAppNavigation.cpp).
    // Screen pixels per result pixel.
    float zoom() const;
    // The factor of the result shown, which the zoom's level is for.
    int resultFactor() const;
    // Sets the zoom level, keeping the picture's point under the window point where it is.
    void zoomAround(int level, Vec2f point);
    // After the upscaler shown changed: the level that keeps the picture's size on screen nearest.
    void keepSizeAcrossFactors();
    void showOneToOne();
    void fitToWindow();
    void drawWarped(const gl::Texture& texture);
    // The upscale on the quad's corners as the GPU maps it, until the exact warp is shown.
    void drawPreview();

    std::unique_ptr<params::ParamPanel> panel_;  // its controls write into the members below
    params::LabelControl* perfLabel_ = nullptr;
    CornerQuad cornerQuad_;
    // The panel's selections, the current ids and the cached upscale and result.
    ProcessingPipeline pipeline_;
    QuadHistory quadHistory_;  // the quad's changes since the picture was opened
    QuadMouse quadMouse_{cornerQuad_, pipeline_, quadHistory_};
    QuadKeys quadKeys_{cornerQuad_, pipeline_, quadHistory_};
    int zoomLevel_ = 0;        // into zoomLevels(); the panel writes the first level
    int zoomLevelFactor_ = 1;  // the factor of the result the level was chosen for
    Vec2f pan_;                // window pixels the picture's centre sits off the window's centre
    bool panning_ = false;
    Vec2f panGrab_;  // the pointer when the pan began, less the pan then
    float wheelNotches_ = 0.0f;
    bool showSource_ = false;
    std::string sourcePath_;
    Surface sourceSurface_;
    Palette sourcePalette_;  // the source's colour table, which a save keeps when it can
    gl::Texture sourceTexture_;
    gl::Texture resultTexture_;
    gl::Texture upscaledTexture_;  // the upscale the result was warped from; the preview's picture
    Surface upscaledShown_;        // its pixels
    Surface pendingUpscale_;       // the upscale of the result shown, when not uploaded yet
    double busySince_ = 0.0;       // when the jobs under way began
    bool busyMarkShown_ = false;   // the status line drawn last says "Working..."

    framework::PlatformServices services_;
    std::unique_ptr<framework::FileDialog> dialog_;
    AppStart start_;  // the command line's choices and file
    // The opened sheet's atlas (named on the command line, or found beside it), its frames on
    // the sheet, and what the status line says of it.
    std::optional<Atlas> atlas_;
    std::vector<AtlasFrame> atlasFrames_;
    std::string status_;
    Animation animation_;                // the opened file's frames; one for a still picture
    UpscaledFrameCache upscaledFrames_;  // the animation's frames once upscaled
    FrameAhead frameAhead_;              // the next frame, made while the shown one plays
    std::string saveNote_;               // what the last save could not keep, on the status line
    StatusMessages messages_;            // the status line's messages of the moment
    std::string title_;                  // the window's
    std::string pageNote_;               // the files Page Down or Up passed over, on the status line
    bool frameChanged_ = false;          // the next result shown is of another frame
    bool commandLineOpened_ = false;
    bool tiled_ = false;         // "t": the picture laid 3 x 3, to look for seams
    bool cellOutlines_ = false;  // "g": the cells' outlines over the picture
    gl::Backdrop backdrop_ = gl::Backdrop::Checkerboard;  // "b": what transparent pixels show
    std::optional<OpenedFile> opening_;                   // the file whose first result is being made
    uint64_t openingJob_ = 0;                             // the last job asked for it
    uint64_t filesRead_ = 0;
    uint64_t fileId_ = 0;            // the id of the file shown
    PipelineThread pipelineThread_;  // last: gone before anything its jobs use
};

}  // namespace app
}  // namespace loom
