// Path2d: a small 2-D path of straight, cubic Bezier and closing segments, with circular arcs added
// as chains of cubics. Drawing never rasterises curves: it asks subdivide() for a polyline that
// stays within a tolerance of the true curve and draws that as a line strip or a polygon.
#pragma once

#include <cstdint>
#include <vector>

#include "base/Exception.h"
#include "math/Vec2.h"

namespace loom {

// Raised without a text: moveTo on a non-empty path, curveTo or lineTo on an empty one, an arc with
// non-finite or unusably large angles, or an unknown segment code met while subdividing.
class Path2dExc : public Exception {
public:
    const char* what() const noexcept override { return "Path2d exception"; }
};

class Path2d {
public:
    // Segment type codes; each appends the number of points given by pointCount().
    enum SegmentType : int32_t { LINETO = 1, CUBICTO = 3, CLOSE = 4 };

    // Points appended by a segment of this code; -1 for a code outside the table.
    static int pointCount(int32_t segmentType);

    // Sets the start point; only allowed on a path without points.
    void moveTo(const Vec2f& p);
    void lineTo(const Vec2f& end);
    void curveTo(const Vec2f& control1, const Vec2f& control2, const Vec2f& end);
    // A circular arc from startRadians to endRadians (clockwise on screen when forward, since y
    // points down). The arc's start point begins the path, or is joined to it by a straight line.
    void arc(const Vec2f& center, float radius, float startRadians, float endRadians, bool forward);
    // A straight segment back to the start point.
    void close();

    bool empty() const { return segments_.empty(); }
    const std::vector<Vec2f>& getPoints() const { return points_; }
    const std::vector<int32_t>& getSegments() const { return segments_; }

    // A polyline through the path. Curves are split adaptively so that it stays within
    // 0.5 / approximationScale path units of them. Every segment repeats its start point, so the
    // list starts with the start point twice; a path without segments or without a start point
    // gives an empty list.
    std::vector<Vec2f> subdivide(float approximationScale = 1.0f) const;

private:
    // Appends arc pieces for (a0, a1): upwards from a0 when forward, downwards from a1 otherwise.
    void arcPieces(const Vec2f& center, float radius, float a0, float a1, bool forward);
    // One cubic approximating the arc from angle a to angle b (at most a quarter turn).
    void arcSegment(const Vec2f& center, float radius, float a, float b);

    std::vector<Vec2f> points_;
    std::vector<int32_t> segments_;
};

}  // namespace loom
