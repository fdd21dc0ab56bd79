#include "warp/CornerQuad.h"

#include <algorithm>
#include <cmath>

#include "math/Vec3.h"

namespace loom {

namespace {
constexpr float TWO_PI = 6.283185307179586f;
}

float angleBetween(const Vec2f& a, const Vec2f& b) {
    // The arccosine of the normalised dot product loses accuracy near 0 and pi, where rounding
    // leaves it a few hundredths of a degree off (and can push it past 1 into a non-number).
    // atan2 of the cross and dot products gives the same angle exactly 0 for equal directions and
    // stays finite; y points down, so a positive cross product is a clockwise turn on screen.
    const float cross = a.x * b.y - a.y * b.x;
    float angle = std::atan2(cross, a.dot(b));
    if (angle < 0.0f) angle += TWO_PI;
    return angle < TWO_PI ? angle : 0.0f;
}

CornerQuad::CornerQuad() = default;

void CornerQuad::placeOnImage(float width, float height) {
    corners[0] = Vec2f(0, 0);
    corners[1] = Vec2f(width, 0);
    corners[2] = Vec2f(width, height);
    corners[3] = Vec2f(0, height);
    recenter();
}

void CornerQuad::recenter() {
    Vec2f sum;
    for (const Vec2f& c : corners) sum += c;
    center = sum * 0.25f;
    updateMatrix();
}

void CornerQuad::updateMatrix() {
    Matrix44f m;
    m.translate(Vec3f(windowWidth * 0.5f, windowHeight * 0.5f, 0.0f));
    m.scale(Vec3f(zoom, zoom, 1.0f));
    m.translate(Vec3f(-center.x, -center.y, 0.0f));
    viewMatrix = m;
    inverseViewMatrix = m.affineInverted();
}

Rectf CornerQuad::boundingRect() const {
    Rectf r(corners[0].x, corners[0].y, corners[0].x, corners[0].y);
    for (int i = 1; i < 4; ++i) {
        r.x1 = std::min(r.x1, corners[i].x);
        r.y1 = std::min(r.y1, corners[i].y);
        r.x2 = std::max(r.x2, corners[i].x);
        r.y2 = std::max(r.y2, corners[i].y);
    }
    return r;
}

void CornerQuad::press(int x, int y, bool left, bool right) {
    downPosition = Vec2f(static_cast<float>(x), static_cast<float>(y));
    rightDown = right;
    leftDown = left;
}

void CornerQuad::release(bool left, bool right) {
    rotating = false;
    leftDown = left;
    rightDown = right;
}

Vec2f CornerQuad::windowToQuad(float x, float y, float z) const {
    const Vec3f q = inverseViewMatrix.transformPoint(Vec3f(x, y, z));
    return {q.x, q.y};
}

bool CornerQuad::hover(int x, int y) {
    const Vec2f q = windowToQuad(static_cast<float>(x), static_cast<float>(y), 0.0f);
    hoverCorner = -1;
    hoverEdge = -1;
    leftDown = false;
    rightDown = false;

    for (int i = 0; i < 4; ++i) {
        if (corners[i].distance(q) < handleRadius) {
            hoverCorner = i;
            return true;
        }
    }
    // Distance to the edge's whole line: the hit band runs on beyond the corners. A zero-length
    // edge has a non-finite direction and never passes the test.
    for (int i = 0; i < 4; ++i) {
        const Vec2f& start = corners[i];
        const Vec2f& end = corners[(i + 1) % 4];
        const Vec2f direction = (end - start).normalized();
        const Vec2f foot = start + direction * (q - start).dot(direction);
        if ((q - foot).length() < handleRadius) {
            hoverEdge = i;
            edgeOffsetStart = foot - start;
            edgeOffsetEnd = end - foot;
            return true;
        }
    }
    return false;
}

bool CornerQuad::drag(int x, int y) {
    const Vec2f q = windowToQuad(static_cast<float>(x), static_cast<float>(y), 0.0f);
    if (leftDown) {
        if (hoverEdge >= 0) {
            // The edge moves rigidly, its grab point following the mouse.
            corners[hoverEdge] = q - edgeOffsetStart;
            corners[(hoverEdge + 1) % 4] = q + edgeOffsetEnd;
            return true;
        }
        if (hoverCorner >= 0) {
            corners[hoverCorner] = q;
            return true;
        }
    }
    if (!rightDown) return false;
    return dragRotation(Vec2f(static_cast<float>(x), static_cast<float>(y)));
}

bool CornerQuad::dragRotation(const Vec2f& windowPos) {
    if (!rotating) {
        rotationStart = windowPos - downPosition;
        if (rotationStart.length() > rotationThreshold) {
            rotating = true;
            rotationAngle = 0.0f;
            std::copy(corners, corners + 4, savedCorners);
        }
        if (!rotating) return false;
    }
    // Back on the press point the direction is undefined: keep the last angle.
    if (windowPos == downPosition) return false;
    rotationCurrent = windowPos - downPosition;
    rotationAngle = angleBetween(rotationStart, rotationCurrent);

    // Turn the corners saved at the start about the press point, so rounding never accumulates.
    const Vec2f pivot = windowToQuad(downPosition.x, downPosition.y, 1.0f);
    const float cosine = std::cos(rotationAngle);
    const float sine = std::sin(rotationAngle);
    for (int i = 0; i < 4; ++i) {
        const Vec2f d = savedCorners[i] - pivot;
        corners[i] = pivot + Vec2f(cosine * d.x - sine * d.y, sine * d.x + cosine * d.y);
    }
    return true;
}

}  // namespace loom
