// The status line: what is not a control (the busy mark, the picture held on space, the messages of
// the moment, the atlas in use, the frame shown, ...) at the window's bottom left, in the panel's
// font, on the panel's strip colour, so that it reads over a white backdrop or a bright picture.
#pragma once

#include <string>
#include <vector>

namespace loom::app {

// Draws the parts that are not empty, in order, spaced apart; nothing when all are.
void drawStatusLine(const std::vector<std::string>& parts, int windowHeight);

}  // namespace loom::app
