// Lines, filled circles and filled rectangles in the current matrices' units (window pixels after
// setWindowMatrices), each from a small client-side vertex array in one glDrawArrays call.
#pragma once

#include <vector>

#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {
namespace gl {

// Upper bound on a circle's segments, so that a huge or non-finite radius (or a wild count) cannot
// ask for an unbounded vertex array.
constexpr int MAX_CIRCLE_SEGMENTS = 1 << 16;

// One segment from a to b (GL_LINES).
void drawLine(const Vec2f& a, const Vec2f& b);

// The segment count used for a circle: segments when positive, else one per pixel of circumference
// (floor(2 pi radius)); never below 2 nor above MAX_CIRCLE_SEGMENTS.
int circleSegmentCount(float radius, int segments);
// The triangle fan of a filled circle: the centre, then segments + 1 rim points from angle 0 round
// to a full turn (the last closes the fan on the first).
std::vector<Vec2f> circleFanVertices(const Vec2f& center, float radius, int segments);
void drawSolidCircle(const Vec2f& center, float radius, int segments = 0);

// A filled rectangle with texture coordinates (0, 0) at (x1, y1) and (1, 1) at (x2, y2); with
// textureRectangle the coordinates are the rectangle's own corners (for unnormalised targets).
// Leaves GL_VERTEX_ARRAY and GL_TEXTURE_COORD_ARRAY disabled, whatever they were before.
void drawSolidRect(const Rectf& rect, bool textureRectangle = false);

}  // namespace gl
}  // namespace loom
