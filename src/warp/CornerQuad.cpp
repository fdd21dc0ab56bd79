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

void CornerQuad::placeOnImage(float width, float height) {
    corners_[0] = Vec2f(0, 0);
    corners_[1] = Vec2f(width, 0);
    corners_[2] = Vec2f(width, height);
    corners_[3] = Vec2f(0, height);
    recenter();
}

void CornerQuad::setView(float windowWidth, float windowHeight, float zoom, Vec2f pan) {
    windowWidth_ = windowWidth;
    windowHeight_ = windowHeight;
    zoom_ = zoom;
    pan_ = pan;
    updateMatrix();
}

void CornerQuad::recenter() {
    Vec2f sum;
    for (const Vec2f& c : corners_) sum += c;
    center_ = sum * 0.25f;
    updateMatrix();
}

void CornerQuad::updateMatrix() {
    Matrix44f m;
    m.translate(Vec3f(windowWidth_ * 0.5f + pan_.x, windowHeight_ * 0.5f + pan_.y, 0.0f));
    m.scale(Vec3f(zoom_, zoom_, 1.0f));
    m.translate(Vec3f(-center_.x, -center_.y, 0.0f));
    viewMatrix_ = m;
    inverseViewMatrix_ = m.affineInverted();
}

Rectf CornerQuad::boundingRect() const {
    Rectf r(corners_[0].x, corners_[0].y, corners_[0].x, corners_[0].y);
    for (int i = 1; i < 4; ++i) {
        r.x1 = std::min(r.x1, corners_[i].x);
        r.y1 = std::min(r.y1, corners_[i].y);
        r.x2 = std::max(r.x2, corners_[i].x);
        r.y2 = std::max(r.y2, corners_[i].y);
    }
    return r;
}

std::optional<QuadRotation> CornerQuad::rotation() const {
    if (!rotating_) return std::nullopt;
    return QuadRotation{downPosition_, rotationStart_, rotationCurrent_, rotationAngle_};
}

void CornerQuad::press(int x, int y, bool left, bool right) {
    downPosition_ = Vec2f(static_cast<float>(x), static_cast<float>(y));
    rightDown_ = right;
    leftDown_ = left;
}

void CornerQuad::release(bool left, bool right) {
    rotating_ = false;
    leftDown_ = left;
    rightDown_ = right;
}

void CornerQuad::restoreCorners(const std::array<Vec2f, 4>& corners) {
    corners_ = corners;
    release(false, false);
}

Vec2f CornerQuad::windowToQuad(float x, float y, float z) const {
    const Vec3f q = inverseViewMatrix_.transformPoint(Vec3f(x, y, z));
    return {q.x, q.y};
}

bool CornerQuad::hover(int x, int y) {
    const Vec2f q = windowToQuad(static_cast<float>(x), static_cast<float>(y), 0.0f);
    hoverCorner_ = -1;
    hoverEdge_ = -1;
    leftDown_ = false;
    rightDown_ = false;

    for (int i = 0; i < 4; ++i) {
        if (corners_[i].distance(q) < HANDLE_RADIUS) {
            hoverCorner_ = i;
            return true;
        }
    }
    // Distance to the edge's whole line: the hit band runs on beyond the corners. A zero-length
    // edge has a non-finite direction and never passes the test.
    for (int i = 0; i < 4; ++i) {
        const Vec2f& start = corners_[i];
        const Vec2f& end = corners_[(i + 1) % 4];
        const Vec2f direction = (end - start).normalized();
        const Vec2f foot = start + direction * (q - start).dot(direction);
        if ((q - foot).length() < HANDLE_RADIUS) {
            hoverEdge_ = i;
            edgeOffsetStart_ = foot - start;
            edgeOffsetEnd_ = end - foot;
            return true;
        }
    }
    return false;
}

bool CornerQuad::drag(int x, int y) {
    const Vec2f q = windowToQuad(static_cast<float>(x), static_cast<float>(y), 0.0f);
    if (leftDown_) {
        if (hoverEdge_ >= 0) {
            // The edge moves rigidly, its grab point following the mouse.
            corners_[hoverEdge_] = q - edgeOffsetStart_;
            corners_[(hoverEdge_ + 1) % 4] = q + edgeOffsetEnd_;
            return true;
        }
        if (hoverCorner_ >= 0) {
            corners_[hoverCorner_] = q;
            return true;
        }
    }
    if (!rightDown_) return false;
    return dragRotation(Vec2f(static_cast<float>(x), static_cast<float>(y)));
}

bool CornerQuad::dragRotation(const Vec2f& windowPos) {
    if (!rotating_) {
        rotationStart_ = windowPos - downPosition_;
        if (rotationStart_.length() > ROTATION_THRESHOLD) {
            rotating_ = true;
            rotationAngle_ = 0.0f;
            savedCorners_ = corners_;
        }
        if (!rotating_) return false;
    }
    // Back on the press point the direction is undefined: keep the last angle.
    if (windowPos == downPosition_) return false;
    rotationCurrent_ = windowPos - downPosition_;
    rotationAngle_ = angleBetween(rotationStart_, rotationCurrent_);

    // Turn the corners saved at the start about the press point, so rounding never accumulates.
    const Vec2f pivot = windowToQuad(downPosition_.x, downPosition_.y, 1.0f);
    const float cosine = std::cos(rotationAngle_);
    const float sine = std::sin(rotationAngle_);
    for (int i = 0; i < 4; ++i) {
        const Vec2f d = savedCorners_[i] - pivot;
        corners_[i] = pivot + Vec2f(cosine * d.x - sine * d.y, sine * d.x + cosine * d.y);
    }
    return true;
}

}  // namespace loom
