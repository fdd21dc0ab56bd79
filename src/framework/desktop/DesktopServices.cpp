#include "framework/desktop/DesktopServices.h"

#include "framework/desktop/InotifyFileWatch.h"
#include "framework/desktop/ProcessFileDialog.h"
#include "framework/desktop/X11Clipboard.h"

namespace loom::framework::desktop {

namespace {

class ProcessFileDialogs : public FileDialogs {
public:
    std::unique_ptr<FileDialog> start(FileDialogKind kind, const std::string& initialPath,
                                      const std::vector<std::string>& extensions) override {
        return std::make_unique<ProcessFileDialog>(kind, initialPath, extensions);
    }
};

}  // namespace

PlatformServices desktopServices() {
    std::shared_ptr<Clipboard> clipboard = X11Clipboard::open();
    // Without an X display (a desktop without X), the clipboard holds nothing.
    if (!clipboard) clipboard = doNothingServices().clipboard;
    return {std::make_shared<ProcessFileDialogs>(), std::make_shared<InotifyFileWatch>(),
            std::move(clipboard)};
}

}  // namespace loom::framework::desktop
