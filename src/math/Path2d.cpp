#include "math/Path2d.h"

#include <cmath>

namespace loom {

namespace {

constexpr double PI = 3.141592653589793;
// In single precision, so that an arc of exactly the float quarter turn is one piece.
constexpr float HALF_PI = 1.5707963267948966f;
constexpr double TWO_PI = 6.283185307179586;
constexpr double FOUR_PI = 12.566370614359172;
// 4/3 rounded to single precision: the handle length factor of a cubic arc.
constexpr float ARC_HANDLE = 1.3333333730697632f;
constexpr float COLLINEARITY_EPSILON = 1e-7f;
// Beyond this depth a cubic adds nothing more, bounding the output at 2^17 interior points.
constexpr int MAX_SUBDIVISION_DEPTH = 17;

float squaredDistance(const Vec2f& a, const Vec2f& b) { return (a - b).lengthSquared(); }

Vec2f midpoint(const Vec2f& a, const Vec2f& b) { return (a + b) * 0.5f; }

// Squared distance of p from the chord p1 + t * (dx, dy), clamped to the chord's ends.
float distanceFromChord(const Vec2f& p, float t, const Vec2f& p1, const Vec2f& p4, float dx, float dy) {
    if (t <= 0.0f) return squaredDistance(p, p1);
    if (t >= 1.0f) return squaredDistance(p, p4);
    return squaredDistance(p, Vec2f(p1.x + t * dx, p1.y + t * dy));
}

// Adaptive subdivision of one cubic, appending interior points until the polyline is within the
// tolerance (a squared distance) of the curve.
void subdivideCubic(const Vec2f& p1, const Vec2f& p2, const Vec2f& p3, const Vec2f& p4, int depth,
                    float tolerance, std::vector<Vec2f>& result) {
    if (depth > MAX_SUBDIVISION_DEPTH) return;

    const Vec2f p12 = midpoint(p1, p2);
    const Vec2f p23 = midpoint(p2, p3);
    const Vec2f p34 = midpoint(p3, p4);
    const Vec2f p123 = midpoint(p12, p23);
    const Vec2f p234 = midpoint(p23, p34);
    const Vec2f p1234 = midpoint(p123, p234);

    const float dx = p4.x - p1.x;
    const float dy = p4.y - p1.y;
    float d2 = std::fabs((p2.x - p4.x) * dy - (p2.y - p4.y) * dx);
    float d3 = std::fabs((p3.x - p4.x) * dy - (p3.y - p4.y) * dx);
    float k = dx * dx + dy * dy;
    const bool p2OffChord = d2 > COLLINEARITY_EPSILON;
    const bool p3OffChord = d3 > COLLINEARITY_EPSILON;

    if (!p2OffChord && !p3OffChord) {
        // All four points on one line, or the curve closes on itself.
        if (k == 0.0f) {
            d2 = squaredDistance(p1, p2);
            d3 = squaredDistance(p4, p3);
        } else {
            k = 1.0f / k;
            const float t2 = k * ((p2.x - p1.x) * dx + (p2.y - p1.y) * dy);
            const float t3 = k * ((p3.x - p1.x) * dx + (p3.y - p1.y) * dy);
            // Both control points inside the chord: the chord covers the curve.
            if (t2 > 0.0f && t2 < 1.0f && t3 > 0.0f && t3 < 1.0f) return;
            d2 = distanceFromChord(p2, t2, p1, p4, dx, dy);
            d3 = distanceFromChord(p3, t3, p1, p4, dx, dy);
        }
        if (d2 > d3) {
            if (d2 < tolerance) {
                result.push_back(p2);
                return;
            }
        } else if (d3 < tolerance) {
            result.push_back(p3);
            return;
        }
    } else if (!p2OffChord) {
        if (d3 * d3 <= tolerance * k) {
            result.push_back(p23);
            return;
        }
    } else if (!p3OffChord) {
        if (d2 * d2 <= tolerance * k) {
            result.push_back(p23);
            return;
        }
    } else if ((d2 + d3) * (d2 + d3) <= tolerance * k) {
        result.push_back(p23);
        return;
    }

    subdivideCubic(p1, p12, p123, p1234, depth + 1, tolerance, result);
    subdivideCubic(p1234, p234, p34, p4, depth + 1, tolerance, result);
}

}  // namespace

int Path2d::pointCount(int32_t segmentType) {
    static const int COUNTS[] = {0, 1, 2, 3, 0};
    if (segmentType < 0 || segmentType > CLOSE) return -1;
    return COUNTS[segmentType];
}

void Path2d::moveTo(const Vec2f& p) {
    if (!points_.empty()) throw Path2dExc();
    points_.push_back(p);
}

void Path2d::lineTo(const Vec2f& end) {
    if (points_.empty()) throw Path2dExc();
    points_.push_back(end);
    segments_.push_back(LINETO);
}

void Path2d::curveTo(const Vec2f& control1, const Vec2f& control2, const Vec2f& end) {
    if (points_.empty()) throw Path2dExc();
    points_.push_back(control1);
    points_.push_back(control2);
    points_.push_back(end);
    segments_.push_back(CUBICTO);
}

void Path2d::close() { segments_.push_back(CLOSE); }

void Path2d::arc(const Vec2f& center, float radius, float startRadians, float endRadians, bool forward) {
    // Bring the end within a turn of the start in the direction of travel. Angles so large that a
    // turn no longer changes the float would loop forever: refuse them, like non-finite ones.
    if (!std::isfinite(startRadians) || !std::isfinite(endRadians)) throw Path2dExc();
    const double turn = forward ? TWO_PI : -TWO_PI;
    while (forward ? endRadians < startRadians : endRadians > startRadians) {
        const float next = static_cast<float>(endRadians + turn);
        if (next == endRadians) throw Path2dExc();
        endRadians = next;
    }

    const Vec2f start = center + Vec2f(radius * std::cos(startRadians), radius * std::sin(startRadians));
    if (points_.empty())
        moveTo(start);
    else
        lineTo(start);

    if (forward)
        arcPieces(center, radius, startRadians, endRadians, true);
    else
        arcPieces(center, radius, endRadians, startRadians, false);
}

void Path2d::arcPieces(const Vec2f& center, float radius, float a0, float a1, bool forward) {
    for (;;) {
        while (a1 - a0 > FOUR_PI) a1 = static_cast<float>(a1 - TWO_PI);
        if (a1 - a0 <= PI) break;
        // More than a half turn: split in two halves, taken in the order of travel.
        const float mid = a0 + (a1 - a0) * 0.5f;
        if (forward) {
            arcPieces(center, radius, a0, mid, true);
            a0 = mid;
        } else {
            arcPieces(center, radius, mid, a1, false);
            a1 = mid;
        }
    }

    const float span = std::fabs(a1 - a0);
    if (span <= 0.000001f) return;
    // Each piece covers at most a quarter turn.
    const int n = static_cast<int>(std::ceil(span / HALF_PI));
    if (n < 1) return;

    const float step = forward ? (a1 - a0) / n : -(a1 - a0) / n;
    float angle = forward ? a0 : a1;
    for (int i = 0; i < n; ++i) {
        arcSegment(center, radius, angle, angle + step);
        angle += step;
    }
}

void Path2d::arcSegment(const Vec2f& center, float radius, float a, float b) {
    const float ca = radius * std::cos(a);
    const float sa = radius * std::sin(a);
    const float cb = radius * std::cos(b);
    const float sb = radius * std::sin(b);
    const float h = ARC_HANDLE * std::tan((b - a) * 0.25f);
    curveTo(center + Vec2f(ca - h * sa, sa + h * ca), center + Vec2f(cb + h * sb, sb - h * cb),
            center + Vec2f(cb, sb));
}

std::vector<Vec2f> Path2d::subdivide(float approximationScale) const {
    std::vector<Vec2f> result;
    // close() is allowed on a path without a start point, but there is nothing to trace then.
    if (segments_.empty() || points_.empty()) return result;

    float tolerance = 0.5f / approximationScale;
    tolerance *= tolerance;

    result.push_back(points_[0]);
    size_t i = 0;
    for (int32_t segment : segments_) {
        switch (segment) {
            case LINETO:
                result.push_back(points_[i]);
                result.push_back(points_[i + 1]);
                break;
            case CUBICTO:
                result.push_back(points_[i]);
                subdivideCubic(points_[i], points_[i + 1], points_[i + 2], points_[i + 3], 0, tolerance,
                               result);
                result.push_back(points_[i + 3]);
                break;
            case CLOSE:
                result.push_back(points_[i]);
                result.push_back(points_[0]);
                break;
            default: throw Path2dExc();
        }
        i += static_cast<size_t>(pointCount(segment));
    }
    return result;
}

}  // namespace loom
