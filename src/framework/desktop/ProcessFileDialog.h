// The open and save dialogs on a Linux desktop: a file chooser run as a child process (zenity, or
// kdialog where zenity is missing), so the window keeps drawing while the user picks a file. The dialog
// offers one filter, "Supported Types", with the given extensions in lower and upper case (Linux
// names are case-sensitive: HERO.PNG is a PNG too), and answers the chosen path, or "" when the
// user cancels. The save dialog starts with a proposed name and asks before replacing a file; the
// open dialog starts in a folder.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

#include "framework/FileDialogs.h"

namespace loom::framework::desktop {

enum class DialogTool { ZENITY, KDIALOG };

// The argument list (program name first) that shows the dialog with this tool.
std::vector<std::string> fileDialogCommand(DialogTool tool, FileDialogKind kind,
                                           const std::string& initialPath,
                                           const std::vector<std::string>& extensions);

// The chosen path from the tool's exit status and output: "" unless it exited with 0 and printed
// a name; the final line break is not part of the name.
std::string parseFileDialogAnswer(int exitStatus, const std::string& output);

// zenity when it is on the PATH, else kdialog; none when neither is installed.
std::optional<DialogTool> findDialogTool();

// One dialog program running. Destroying it while it is still open ends the program.
class ProcessFileDialog : public FileDialog {
public:
    // Starts the dialog; throws std::runtime_error when no dialog program can be started.
    ProcessFileDialog(FileDialogKind kind, const std::string& initialPath,
                      const std::vector<std::string>& extensions);
    ~ProcessFileDialog() override;
    ProcessFileDialog(const ProcessFileDialog&) = delete;
    ProcessFileDialog& operator=(const ProcessFileDialog&) = delete;

    FileDialogKind kind() const override { return kind_; }
    std::optional<std::string> poll() override;

private:
    void readOutput();
    std::string finish(int waitStatus);

    FileDialogKind kind_;
    pid_t child_ = -1;
    int outputFd_ = -1;
    std::string output_;
    std::optional<std::string> answer_;
};

}  // namespace loom::framework::desktop
