#include "gl/State.h"

#include <GL/glew.h>

namespace loom {
namespace gl {

void clearWindow(const ColorA& color, bool clearDepth) {
    glClearColor(color.r, color.g, color.b, color.a);
    if (clearDepth) {
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    } else {
        glClear(GL_COLOR_BUFFER_BIT);
    }
}

void enableAlphaBlending(bool premultiplied) {
    glEnable(GL_BLEND);
    glBlendFunc(premultiplied ? GL_ONE : GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void disableAlphaBlending() { glDisable(GL_BLEND); }

void enableAdditiveBlending() {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}

void setLineWidth(float width) { glLineWidth(width); }

int getMaxTextureSize() {
    GLint side = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &side);
    return side;
}

void enableDepthRead(bool enable) {
    if (enable)
        glEnable(GL_DEPTH_TEST);
    else
        glDisable(GL_DEPTH_TEST);
}

void disableDepthRead() { glDisable(GL_DEPTH_TEST); }

void enableDepthWrite(bool enable) { glDepthMask(enable ? GL_TRUE : GL_FALSE); }

void disableDepthWrite() { glDepthMask(GL_FALSE); }

void setColor(const ColorA& c) { glColor4f(c.r, c.g, c.b, c.a); }

}  // namespace gl
}  // namespace loom
