// Drawing a texture as a textured quad. Unlike the other helpers these restore every piece of
// state they touch (binding, target enable, client arrays), so callers can draw images and text
// in between their own state changes. The current colour modulates the texels.
#pragma once

#include "gl/Texture.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

// The texels of src (in texels) stretched over dest. A null texture draws nothing.
void drawTexture(const Texture& texture, const Area& src, const Rectf& dest);
// The whole texture at its own size, its top-left corner at pos.
void drawTexture(const Texture& texture, const Vec2f& pos);

}  // namespace gl
}  // namespace loom
