// The common pattern of the untextured shapes: float pairs from client memory, one glDrawArrays,
// the vertex array switched off again. Draws with the current colour, texture and blend state.
#pragma once

#include <GL/glew.h>

#include "math/Vec2.h"

namespace loom {
namespace gl {

static_assert(sizeof(Vec2f) == 2 * sizeof(float), "Vec2f must be a tightly packed float pair");

inline void drawClientVertices(GLenum mode, const Vec2f* vertices, GLsizei count) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
}

}  // namespace gl
}  // namespace loom
