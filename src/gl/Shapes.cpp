#include "gl/Shapes.h"

#include <cmath>

#include "gl/ClientVertices.h"

namespace loom {
namespace gl {

void drawLine(const Vec2f& a, const Vec2f& b) {
    const Vec2f vertices[2] = {a, b};
    drawClientVertices(GL_LINES, vertices, 2);
}

int circleSegmentCount(float radius, int segments) {
    if (segments <= 0) {
        const double perimeter = std::floor(double(radius) * 3.141592653589793 * 2.0);
        // Compared before converting: a NaN or out-of-range double has no int value.
        if (!(perimeter >= 2.0)) return 2;
        if (perimeter >= MAX_CIRCLE_SEGMENTS) return MAX_CIRCLE_SEGMENTS;
        return int(perimeter);
    }
    if (segments < 2) return 2;
    return segments > MAX_CIRCLE_SEGMENTS ? MAX_CIRCLE_SEGMENTS : segments;
}

std::vector<Vec2f> circleFanVertices(const Vec2f& center, float radius, int segments) {
    const int count = circleSegmentCount(radius, segments);
    std::vector<Vec2f> vertices(size_t(count) + 2);
    vertices[0] = center;
    for (int s = 0; s <= count; ++s) {
        const float angle = float(s) / float(count) * 2.0f * 3.14159f;
        vertices[size_t(s) + 1] =
            Vec2f(center.x + std::cos(angle) * radius, center.y + std::sin(angle) * radius);
    }
    return vertices;
}

void drawSolidCircle(const Vec2f& center, float radius, int segments) {
    const std::vector<Vec2f> vertices = circleFanVertices(center, radius, segments);
    drawClientVertices(GL_TRIANGLE_FAN, vertices.data(), GLsizei(vertices.size()));
}

void drawSolidRect(const Rectf& rect, bool textureRectangle) {
    const Vec2f vertices[4] = {
        {rect.x2, rect.y1}, {rect.x1, rect.y1}, {rect.x2, rect.y2}, {rect.x1, rect.y2}};
    const Vec2f unitCoords[4] = {{1, 0}, {0, 0}, {1, 1}, {0, 1}};
    const Vec2f* texCoords = textureRectangle ? vertices : unitCoords;

    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, vertices);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, texCoords);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace gl
}  // namespace loom
