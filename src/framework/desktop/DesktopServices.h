// The platform services of a Linux desktop: zenity or kdialog for the file dialogs, inotify for
// the file watch.
#pragma once

#include "framework/PlatformServices.h"

namespace loom::framework::desktop {

PlatformServices desktopServices();

}  // namespace loom::framework::desktop
