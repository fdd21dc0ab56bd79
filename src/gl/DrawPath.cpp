#include "gl/DrawPath.h"

#include <vector>

#include "gl/ClientVertices.h"

namespace loom {
namespace gl {

namespace {

void drawSubdivided(GLenum mode, const Path2d& path, float approximationScale) {
    if (path.empty()) return;
    const std::vector<Vec2f> points = path.subdivide(approximationScale);
    drawClientVertices(mode, points.data(), GLsizei(points.size()));
}

}  // namespace

void drawPath(const Path2d& path, float approximationScale) {
    drawSubdivided(GL_LINE_STRIP, path, approximationScale);
}

void drawSolidPath(const Path2d& path, float approximationScale) {
    drawSubdivided(GL_POLYGON, path, approximationScale);
}

}  // namespace gl
}  // namespace loom
