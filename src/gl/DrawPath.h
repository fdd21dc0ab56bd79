// Paths drawn as polylines: curves are subdivided (within 0.5 / approximationScale units) and the
// points drawn with the current colour. A path without segments draws nothing and makes no GL call.
#pragma once

#include "math/Path2d.h"

namespace loom {
namespace gl {

// The outline as a line strip.
void drawPath(const Path2d& path, float approximationScale = 1.0f);
// The interior as one polygon (meant for convex shapes such as the rotation indicator).
void drawSolidPath(const Path2d& path, float approximationScale = 1.0f);

}  // namespace gl
}  // namespace loom
