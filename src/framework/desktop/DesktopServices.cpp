#include "framework/desktop/DesktopServices.h"

#include "framework/desktop/InotifyFileWatch.h"
#include "framework/desktop/ProcessFileDialog.h"

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
    return {std::make_shared<ProcessFileDialogs>(), std::make_shared<InotifyFileWatch>()};
}

}  // namespace loom::framework::desktop
