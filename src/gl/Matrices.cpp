#include "gl/Matrices.h"

#include <GL/glew.h>

namespace loom {
namespace gl {

void pushMatrices() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
}

void popMatrices() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

void multModelView(const Matrix44f& m) {
    glMatrixMode(GL_MODELVIEW);
    glMultMatrixf(m.data());
}

void setWindowMatrices(int width, int height, bool originUpperLeft) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double bottom = originUpperLeft ? height : 0;
    const double top = originUpperLeft ? 0 : height;
    glOrtho(0, width, bottom, top, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glViewport(0, 0, width, height);
}

void scale(const Vec3f& v) { glScalef(v.x, v.y, v.z); }

}  // namespace gl
}  // namespace loom
