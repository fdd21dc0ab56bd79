#include "warp/CornerQuad.h"

#include <algorithm>
#include <cmath>

#include "math/Vec3.h"

namespace loom {

namespace {
constexpr float TWO_PI = 6.283185307179586f;

std::array<Vec2f, 4> imageRectangle(float width, float height) {
    return {Vec2f(0, 0), Vec2f(width, 0), Vec2f(width, height), Vec2f(0, height)};
}

// The angle, in [0, 2pi), rounded to the nearest whole number of steps.
float snappedAngle(float angle) {
    const long stepsPerTurn = std::lround(TWO_PI / CornerQuad::ROTATION_STEP);
    return float(std::lround(angle / CornerQuad::ROTATION_STEP) % stepsPerTurn) *
           CornerQuad::ROTATION_STEP;
}
}  // namespace

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
    corners_ = imageRectangle(width, height);
    recenter();
}

void CornerQuad::resetToImage(float width, float height) {
    restoreCorners(imageRectangle(width, height));
}

void CornerQuad::setView(float windowWidth, float windowHeight, float zoom, Vec2f pan) {
    windowWidth_ = windowWidth;
    windowHeight_ = windowHeight;
    zoom_ = zoom;
    pan_ = pan;
    updateMatrix();
}

void CornerQuad::recenter() {
    center_ = cornerMean();
    updateMatrix();
}

Vec2f CornerQuad::cornerMean() const {
    Vec2f sum;
    for (const Vec2f& c : corners_) sum += c;
    return sum * 0.25f;
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
    return QuadRotation{rotationPivot(), rotationStart_, rotationCurrent_, rotationAngle_};
}

Vec2f CornerQuad::rotationPivot() const {
    return aboutCentre_ ? viewMatrix_.transformPoint(centreAtPress_) : downPosition_;
}

void CornerQuad::press(int x, int y, bool left, bool right, bool aboutCentre) {
    downPosition_ = Vec2f(static_cast<float>(x), static_cast<float>(y));
    rightDown_ = right;
    leftDown_ = left;
    aboutCentre_ = aboutCentre;
    centreAtPress_ = cornerMean();
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

bool CornerQuad::nudgeHoveredCorner(const Vec2f& offset) {
    if (hoverCorner_ < 0) return false;
    corners_[hoverCorner_] += offset;
    return true;
}

bool CornerQuad::drag(int x, int y, bool snapped) {
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
    return dragRotation(Vec2f(static_cast<float>(x), static_cast<float>(y)), snapped);
}

bool CornerQuad::dragRotation(const Vec2f& windowPos, bool snapped) {
    const Vec2f windowPivot = rotationPivot();
    if (!rotating_) {
        // Whatever the pivot, only a mouse well away from the press turns: a click never does.
        // On the pivot itself the starting direction is undefined: wait for the next position.
        if ((windowPos - downPosition_).length() <= ROTATION_THRESHOLD || windowPos == windowPivot)
            return false;
        rotating_ = true;
        rotationStart_ = windowPos - windowPivot;
        rotationAngle_ = 0.0f;
        savedCorners_ = corners_;
    }
    // Back on the pivot the direction is undefined: keep the last angle.
    if (windowPos == windowPivot) return false;
    rotationCurrent_ = windowPos - windowPivot;
    rotationAngle_ = angleBetween(rotationStart_, rotationCurrent_);
    if (snapped) rotationAngle_ = snappedAngle(rotationAngle_);

    // Turn the corners saved at the start about the pivot, so rounding never accumulates.
    const Vec2f pivot = aboutCentre_ ? centreAtPress_ : windowToQuad(windowPivot.x, windowPivot.y, 1.0f);
    const float cosine = std::cos(rotationAngle_);
    const float sine = std::sin(rotationAngle_);
    for (int i = 0; i < 4; ++i) {
        const Vec2f d = savedCorners_[i] - pivot;
        corners_[i] = pivot + Vec2f(cosine * d.x - sine * d.y, sine * d.x + cosine * d.y);
    }
    return true;
}

}  // namespace loom
