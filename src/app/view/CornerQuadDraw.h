// Drawing of the corner quadrilateral: its outline, its handles (green while hovered) and, during
// a right-button rotation, the swept sector. Expects the window matrices (pixels, origin top-left).
#pragma once

#include "warp/CornerQuad.h"

namespace loom {
namespace app {

// Leaves the line width at 2.
void drawCornerQuad(const CornerQuad& quad);

}  // namespace app
}  // namespace loom
