#include "gl/DrawOverCheckerboard.h"

#include <GL/glew.h>

#include <array>

#include "gl/DrawTexture.h"
#include "gl/Shapes.h"
#include "gl/State.h"

namespace loom {
namespace gl {

namespace {

// The dark squares as a polygon stipple: OpenGL anchors the stipple to the window, which is what
// keeps the squares in place whatever the matrices do, and it costs two rectangles however large
// the picture. The pattern is 32 x 32 bits, rows from the bottom, most significant bit leftmost.
constexpr int STIPPLE_SIDE = 32;
static_assert(STIPPLE_SIDE % (2 * CHECKER_SQUARE) == 0, "the stipple must repeat the squares");
using StippleBits = std::array<GLubyte, STIPPLE_SIDE * STIPPLE_SIDE / 8>;

StippleBits darkSquares() {
    StippleBits bits{};
    for (int y = 0; y < STIPPLE_SIDE; ++y)
        for (int x = 0; x < STIPPLE_SIDE; ++x)
            if ((x / CHECKER_SQUARE + y / CHECKER_SQUARE) % 2 == 1)
                bits[size_t(y * STIPPLE_SIDE + x) / 8] |= GLubyte(0x80 >> (x % 8));
    return bits;
}

// Saves the attribute groups given and puts them back when it goes.
class SavedAttributes {
public:
    explicit SavedAttributes(GLbitfield groups) { glPushAttrib(groups); }
    SavedAttributes(const SavedAttributes&) = delete;
    SavedAttributes& operator=(const SavedAttributes&) = delete;
    ~SavedAttributes() { glPopAttrib(); }
};

// A plain ground over rect, as the checkerboard is drawn.
void drawPlainBackdrop(const Rectf& rect, const ColorA& colour) {
    SavedAttributes saved(GL_CURRENT_BIT | GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    setColor(colour);
    drawSolidRect(rect);
}

}  // namespace

void drawCheckerboard(const Rectf& rect) {
    static const StippleBits dark = darkSquares();
    SavedAttributes saved(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_POLYGON_STIPPLE_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    // Each pass lies at the depth of the one before, which a depth test would reject.
    glDisable(GL_DEPTH_TEST);
    setColor(CHECKER_LIGHT);
    drawSolidRect(rect);
    // The pattern is read through the unpack state, which this system leaves at its defaults
    // apart from an alignment of 1 (rows here are 4 bytes, so any alignment reads them alike).
    glPolygonStipple(dark.data());
    glEnable(GL_POLYGON_STIPPLE);
    setColor(CHECKER_DARK);
    drawSolidRect(rect);
}

Backdrop nextBackdrop(Backdrop b) {
    switch (b) {
        case Backdrop::Checkerboard: return Backdrop::Black;
        case Backdrop::Black: return Backdrop::White;
        case Backdrop::White: break;
    }
    return Backdrop::Checkerboard;
}

void drawBackdrop(const Rectf& rect, Backdrop backdrop) {
    switch (backdrop) {
        case Backdrop::Checkerboard: drawCheckerboard(rect); break;
        case Backdrop::Black: drawPlainBackdrop(rect, ColorA(0.0f, 0.0f, 0.0f, 1.0f)); break;
        case Backdrop::White: drawPlainBackdrop(rect, ColorA(1.0f, 1.0f, 1.0f, 1.0f)); break;
    }
}

void drawTextureOverCheckerboard(const Texture& texture, const Area& src, const Rectf& dest,
                                 Backdrop backdrop) {
    if (!texture) return;
    drawBackdrop(dest, backdrop);
    SavedAttributes saved(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);  // at the backdrop's depth
    enableAlphaBlending();
    drawTexture(texture, src, dest);
}

void drawTextureOverCheckerboard(const Texture& texture, const Vec2f& pos, Backdrop backdrop) {
    if (!texture) return;
    const Rectf dest(pos.x, pos.y, pos.x + texture.width(), pos.y + texture.height());
    drawTextureOverCheckerboard(texture, texture.getBounds(), dest, backdrop);
}

}  // namespace gl
}  // namespace loom
