// Drawing a texture as a textured quad. Unlike the other helpers these restore every piece of
// state they touch (binding, target enable, client arrays), so callers can draw images and text
// in between their own state changes. The current colour modulates the texels.
#pragma once

#include <vector>

#include "gl/Texture.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

// The texels of src (in texels) stretched over dest. A null texture draws nothing.
void drawTexture(const Texture& texture, const Area& src, const Rectf& dest);
// The whole texture at its own size, its top-left corner at pos.
void drawTexture(const Texture& texture, const Vec2f& pos);

// A vertex of a textured mesh: its position and homogeneous texture coordinates (s q, t q, 0, q),
// (s, t) running over 0..1 across the texture. A q of 1 maps each triangle affinely; per-corner q
// values let two triangles map the texture projectively, with no kink along their shared edge.
struct MeshVertex {
    Vec2f position;
    float texCoord[4];
};

// The texture over triangles, three vertices each.
void drawTextureMesh(const Texture& texture, const std::vector<MeshVertex>& triangles);

}  // namespace gl
}  // namespace loom
