// The save dialog: a desktop file chooser run as a child process (zenity, or kdialog where zenity
// is missing), so the window keeps drawing while the user picks a name. The dialog offers one
// filter, "Supported Types", with the writable extensions, starts with a proposed name, asks before
// replacing an existing file, and answers the chosen path, or "" when the user cancels.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

namespace loom {
namespace app {

enum class DialogTool { ZENITY, KDIALOG };

// The argument list (program name first) that shows the dialog with this tool.
std::vector<std::string> saveDialogCommand(DialogTool tool, const std::string& initialPath,
                                           const std::vector<std::string>& extensions);

// The chosen path from the tool's exit status and output: "" unless it exited with 0 and printed
// a name; the final line break is not part of the name.
std::string parseSaveDialogAnswer(int exitStatus, const std::string& output);

// zenity when it is on the PATH, else kdialog; none when neither is installed.
std::optional<DialogTool> findDialogTool();

// One dialog in progress. Destroying it while it is still open closes the dialog.
class SaveDialog {
public:
    // Starts the dialog; throws std::runtime_error when no dialog program can be started.
    SaveDialog(const std::string& initialPath, const std::vector<std::string>& extensions);
    ~SaveDialog();
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    // Never blocks: nothing while the dialog is open, then the answer once it has closed.
    std::optional<std::string> poll();
    // Blocks until the dialog closes.
    std::string wait();

private:
    void readOutput();
    std::string finish(int waitStatus);

    pid_t child_ = -1;
    int outputFd_ = -1;
    std::string output_;
    std::optional<std::string> answer_;
};

// Shows the dialog and waits for the answer.
std::string getSaveFilePath(const std::string& initialPath, const std::vector<std::string>& extensions);

}  // namespace app
}  // namespace loom
