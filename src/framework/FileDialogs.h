// The open and save dialogs, a service of the desktop the window runs on: the user picks a file
// while the window keeps drawing. The desktop's own implementation is in desktop/; the tests use
// one that answers at once (PlatformServices.h).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace loom::framework {

enum class FileDialogKind { OPEN, SAVE };

// One dialog in progress. Destroying it while it is still open closes the dialog.
class FileDialog {
public:
    virtual ~FileDialog() = default;

    virtual FileDialogKind kind() const = 0;
    // Never blocks: nothing while the dialog is open, then the chosen path, or "" when the user
    // cancelled, at this and every later call.
    virtual std::optional<std::string> poll() = 0;
};

class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    // Opens a dialog offering files with these extensions (all files when there are none). The save
    // dialog starts with initialPath as the proposed name and asks before replacing a file; the
    // open dialog starts in the folder initialPath. Throws std::runtime_error when no dialog can be
    // started, naming why.
    virtual std::unique_ptr<FileDialog> start(FileDialogKind kind, const std::string& initialPath,
                                              const std::vector<std::string>& extensions) = 0;
};

}  // namespace loom::framework
