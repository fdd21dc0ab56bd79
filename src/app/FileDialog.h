// The open and save dialogs: a desktop file chooser run as a child process (zenity, or kdialog
// where zenity is missing), so the window keeps drawing while the user picks a file. The dialog
// offers one filter, "Supported Types", with the given extensions in lower and upper case (Linux
// names are case-sensitive: HERO.PNG is a PNG too), and answers the chosen path, or "" when the
// user cancels. The save dialog starts with a proposed name and asks before replacing a file; the
// open dialog starts in a folder.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace loom {
namespace app {

enum class DialogTool { ZENITY, KDIALOG };
enum class FileDialogKind { OPEN, SAVE };

// The argument list (program name first) that shows the dialog with this tool.
std::vector<std::string> fileDialogCommand(DialogTool tool, FileDialogKind kind,
                                           const std::string& initialPath,
                                           const std::vector<std::string>& extensions);

// The chosen path from the tool's exit status and output: "" unless it exited with 0 and printed
// a name; the final line break is not part of the name.
std::string parseFileDialogAnswer(int exitStatus, const std::string& output);

// zenity when it is on the PATH, else kdialog; none when neither is installed.
std::optional<DialogTool> findDialogTool();

// One dialog in progress. Destroying it while it is still open closes the dialog.
class FileDialog {
public:
    // Starts the dialog; throws std::runtime_error when no dialog program can be started.
    FileDialog(FileDialogKind kind, const std::string& initialPath,
               const std::vector<std::string>& extensions);
    ~FileDialog();
    FileDialog(const FileDialog&) = delete;
    FileDialog& operator=(const FileDialog&) = delete;

    FileDialogKind kind() const { return kind_; }

    // Never blocks: nothing while the dialog is open, then the answer once it has closed.
    std::optional<std::string> poll();
    // Blocks until the dialog closes.
    std::string wait();

private:
    void readOutput();
    std::string finish(int waitStatus);

    FileDialogKind kind_;
    pid_t child_ = -1;
    int outputFd_ = -1;
    std::string output_;
    std::optional<std::string> answer_;
};

// Shows the save dialog and waits for the answer.
std::string getSaveFilePath(const std::string& initialPath, const std::vector<std::string>& extensions);

}  // namespace app
}  // namespace loom
