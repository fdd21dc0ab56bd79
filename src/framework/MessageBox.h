// A modal error box over the application's window, for failures that touch the user's work: unlike
// a line on a terminal, it waits until the user has read it.
#pragma once

#include <string>

#include "framework/NativeWindow.h"

namespace loom::framework {

// Blocks until the user closes the box. parent may be null. False when no box could be shown (no
// display); the reason is then in errorText when that is given.
bool showErrorMessageBox(NativeWindow* parent, const std::string& title, const std::string& message,
                         std::string* errorText = nullptr);

}  // namespace loom::framework
