// The triangles through which the GPU draws a warp's preview while the quad is dragged: the
// upscaled picture's texture pinned on the quad's corners (quad space), as the exact warp pins it.
// Projective is two triangles with homogeneous texture coordinates, exact for any convex quad;
// Bilinear is a grid of cells, each an affine piece of the bilinear patch.
#pragma once

#include <array>
#include <vector>

#include "gl/DrawTexture.h"
#include "math/Vec2.h"

namespace loom::app {

// Cells a side of the bilinear grid.
constexpr int BILINEAR_PREVIEW_CELLS = 32;

// Empty for no transform, and for a quad no projective map reaches (three corners in a line, or
// one inside the triangle of the others).
std::vector<gl::MeshVertex> previewMesh(int transformId, const std::array<Vec2f, 4>& corners);

}  // namespace loom::app
