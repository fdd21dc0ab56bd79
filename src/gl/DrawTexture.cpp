#include "gl/DrawTexture.h"

namespace loom {
namespace gl {

namespace {

GLenum bindingQueryFor(GLenum target) {
    switch (target) {
        case GL_TEXTURE_1D: return GL_TEXTURE_BINDING_1D;
        case GL_TEXTURE_RECTANGLE: return GL_TEXTURE_BINDING_RECTANGLE;
        default: return GL_TEXTURE_BINDING_2D;
    }
}

void setClientState(GLenum array, bool enabled) {
    if (enabled)
        glEnableClientState(array);
    else
        glDisableClientState(array);
}

// Saves the binding and enable state drawTexture changes and puts it back on every way out,
// exceptions included.
class TextureStateGuard {
public:
    explicit TextureStateGuard(GLenum target) : target_(target) {
        glGetIntegerv(bindingQueryFor(target), &boundTexture_);
        glGetBooleanv(target, &targetEnabled_);
        glGetBooleanv(GL_VERTEX_ARRAY, &vertexArrayEnabled_);
        glGetBooleanv(GL_TEXTURE_COORD_ARRAY, &texCoordArrayEnabled_);
    }
    TextureStateGuard(const TextureStateGuard&) = delete;
    TextureStateGuard& operator=(const TextureStateGuard&) = delete;

    ~TextureStateGuard() {
        setClientState(GL_TEXTURE_COORD_ARRAY, texCoordArrayEnabled_);
        setClientState(GL_VERTEX_ARRAY, vertexArrayEnabled_);
        if (targetEnabled_)
            glEnable(target_);
        else
            glDisable(target_);
        glBindTexture(target_, GLuint(boundTexture_));
    }

private:
    GLenum target_;
    GLint boundTexture_ = 0;
    GLboolean targetEnabled_ = GL_FALSE;
    GLboolean vertexArrayEnabled_ = GL_FALSE;
    GLboolean texCoordArrayEnabled_ = GL_FALSE;
};

}  // namespace

void drawTexture(const Texture& texture, const Area& src, const Rectf& dest) {
    if (!texture) return;
    TextureStateGuard saved(texture.getTarget());
    texture.bindEnabled();

    const Vec2f vertices[4] = {
        {dest.x2, dest.y1}, {dest.x1, dest.y1}, {dest.x2, dest.y2}, {dest.x1, dest.y2}};
    const Rectf c = texture.texCoordsFor(src);
    const Vec2f texCoords[4] = {{c.x2, c.y1}, {c.x1, c.y1}, {c.x2, c.y2}, {c.x1, c.y2}};

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void drawTexture(const Texture& texture, const Vec2f& pos) {
    if (!texture) return;
    const Rectf dest(pos.x, pos.y, pos.x + texture.width(), pos.y + texture.height());
    drawTexture(texture, texture.getBounds(), dest);
}

void drawTextureMesh(const Texture& texture, const std::vector<MeshVertex>& triangles) {
    if (!texture || triangles.empty()) return;
    TextureStateGuard saved(texture.getTarget());
    texture.bindEnabled();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(MeshVertex), &triangles[0].position);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(4, GL_FLOAT, sizeof(MeshVertex), triangles[0].texCoord);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(triangles.size()));
}

}  // namespace gl
}  // namespace loom
