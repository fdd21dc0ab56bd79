// The services of the operating system the application asks for beside its window: file dialogs
// and watching a file. Handed to the application when it is made, so that its tests can run on
// implementations that need no desktop.
#pragma once

#include <memory>

#include "framework/Clipboard.h"
#include "framework/FileDialogs.h"
#include "framework/FileWatch.h"

namespace loom::framework {

struct PlatformServices {
    std::shared_ptr<FileDialogs> dialogs;
    std::shared_ptr<FileWatch> watch;
    std::shared_ptr<Clipboard> clipboard;
};

// Services that do nothing: every dialog answers "" (cancelled) at its first poll, no file is ever
// reported changed, and the clipboard takes nothing and holds nothing.
PlatformServices doNothingServices();

}  // namespace loom::framework
