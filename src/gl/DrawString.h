// Text on screen: each call rasterises the string on the CPU, uploads it as a temporary texture and
// draws that texture at the window position given. (gl/TextCache.h keeps the textures of text
// that is drawn every frame.)
#pragma once

#include <string>

#include "gl/Font.h"
#include "gl/Texture.h"
#include "math/Color.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

// The string's image has its left edge at pos.x and its top edge at pos.y minus the font's
// descent. The text's colour is in the pixels: the current colour is set to white for the draw
// and restored afterwards; blending is left to the caller. A null font means the default text
// font.
void drawString(const std::string& text, const Vec2f& pos, const ColorA& color = ColorA(1, 1, 1, 1),
                const Font& font = Font());

// The drawing half of drawString: a rasterised text's texture at (pos.x, pos.y - descent) in
// white, the current colour restored afterwards.
void drawTextTexture(const Texture& texture, const Vec2f& pos, float descent);

}  // namespace gl
}  // namespace loom
