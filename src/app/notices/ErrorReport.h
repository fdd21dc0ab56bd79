// Telling the user about a failure that touches their work: a modal message box over the window
// (it waits for the user, unlike a line that fades) and the same text on stderr.
#pragma once

#include <exception>
#include <string>

#include "framework/NativeWindow.h"

namespace loom {
namespace app {

// Blocks until the user closes the box. parent may be null.
void reportError(framework::NativeWindow* parent, const std::string& title, const std::string& message);

// The reason an exception gives, readable by a user ("not enough memory" for an allocation
// failure).
std::string describeFailure(const std::exception& e);

}  // namespace app
}  // namespace loom
