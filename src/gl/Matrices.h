// Matrix set-up for drawing in window pixels. Every function here leaves GL_MODELVIEW selected.
#pragma once

#include "math/Matrix44.h"
#include "math/Vec3.h"

namespace loom {
namespace gl {

// Saves the projection and model-view matrices; always paired with popMatrices around a pass
// that changes them.
void pushMatrices();
void popMatrices();

// Model-view = model-view * m.
void multModelView(const Matrix44f& m);

// One unit is one pixel of a width x height viewport at the window's origin. With originUpperLeft,
// (0, 0) is the top-left corner and y grows downwards; otherwise y = 0 is the bottom edge.
void setWindowMatrices(int width, int height, bool originUpperLeft = true);

// Scales the current matrix.
void scale(const Vec3f& v);

}  // namespace gl
}  // namespace loom
