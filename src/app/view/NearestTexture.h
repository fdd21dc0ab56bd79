// Textures of pictures shown pixel for pixel: nearest-neighbour sampling, and a clear refusal
// (rather than a silently blank texture) when the picture exceeds the OpenGL texture size limit.
#pragma once

#include "gl/Texture.h"
#include "image/Surface.h"

namespace loom {
namespace app {

// Needs the window's context current. Throws std::runtime_error naming both sizes when the surface
// is too large for this OpenGL, and what gl::Texture throws otherwise.
gl::Texture makeNearestTexture(const Surface& surface);

}  // namespace app
}  // namespace loom
