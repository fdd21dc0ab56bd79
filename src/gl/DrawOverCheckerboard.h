// Pictures with transparent pixels shown as pixel-art editors show them: over a checkerboard of
// two light greys whose squares are fixed to the window (they neither scale with the zoom nor move
// with the picture), the picture blended by its straight alpha; or, for an artist who wants to see
// the picture against a dark or light ground, over plain black or white. Opaque texels come out
// exactly as drawTexture draws them. The helpers put back every piece of state they change.
#pragma once

#include "gl/Texture.h"
#include "math/Color.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

// Side of a checkerboard square in window pixels, and its two greys.
constexpr int CHECKER_SQUARE = 8;
constexpr ColorA CHECKER_LIGHT(0.8f, 0.8f, 0.8f, 1.0f);
constexpr ColorA CHECKER_DARK(0.6f, 0.6f, 0.6f, 1.0f);

// What lies under transparent pixels.
enum class Backdrop { Checkerboard, Black, White };

// The backdrop after b, the last followed by the first: what a key cycling them shows next.
Backdrop nextBackdrop(Backdrop b);

// The checkerboard over rect, in the current matrices' units.
void drawCheckerboard(const Rectf& rect);
// The backdrop over rect: what a picture drawn on it with alpha blending shows through.
void drawBackdrop(const Rectf& rect, Backdrop backdrop);

// The texels of src stretched over dest, over the backdrop. A null texture draws nothing.
void drawTextureOverCheckerboard(const Texture& texture, const Area& src, const Rectf& dest,
                                 Backdrop backdrop = Backdrop::Checkerboard);
// The whole texture at its own size, its top-left corner at pos.
void drawTextureOverCheckerboard(const Texture& texture, const Vec2f& pos,
                                 Backdrop backdrop = Backdrop::Checkerboard);

}  // namespace gl
}  // namespace loom
