#include "gl/DrawString.h"

#include <GL/glew.h>

#include "gl/DrawTexture.h"
#include "gl/TextRaster.h"

namespace loom {
namespace gl {

namespace {

// Puts the current colour back on every way out, exceptions included.
class CurrentColorGuard {
public:
    CurrentColorGuard() { glGetFloatv(GL_CURRENT_COLOR, saved_); }
    ~CurrentColorGuard() { glColor4f(saved_[0], saved_[1], saved_[2], saved_[3]); }
    CurrentColorGuard(const CurrentColorGuard&) = delete;
    CurrentColorGuard& operator=(const CurrentColorGuard&) = delete;

private:
    GLfloat saved_[4] = {1, 1, 1, 1};
};

}  // namespace

void drawTextTexture(const Texture& texture, const Vec2f& pos, float descent) {
    CurrentColorGuard savedColor;
    glColor4ub(255, 255, 255, 255);
    drawTexture(texture, Vec2f(pos.x, pos.y - descent));
}

void drawString(const std::string& text, const Vec2f& pos, const ColorA& color, const Font& font) {
    float descent = 0.0f;
    const Surface surface = rasterizeText(text, font, color, &descent);
    if (!surface) return;
    drawTextTexture(Texture(surface), pos, descent);
}

}  // namespace gl
}  // namespace loom
