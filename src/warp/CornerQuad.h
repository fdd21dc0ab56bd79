// CornerQuad: the editable quadrilateral onto which the enlarged image is pinned, and the logic of
// its mouse interaction (hover, corner and edge drags, right-button rotation, corner nudges). Drawing
// lives in the
// application layer, so this class reads no OpenGL; it offers read-only what a drawing needs and keeps
// the state of the mouse interaction to itself.
//
// Coordinate spaces: quad space has one unit per pixel of the loaded image, x right, y down; window
// space is in window pixels. viewMatrix() maps quad space to the window.
#pragma once

#include <array>
#include <optional>

#include "math/Matrix44.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {

// Clockwise-on-screen angle (y down) from a to b in radians, in [0, 2pi). Equal directions give
// exactly 0, and a zero vector gives 0: never a non-number.
float angleBetween(const Vec2f& a, const Vec2f& b);

// A right-button rotation under way, in window pixels.
struct QuadRotation {
    Vec2f pivot;    // the press point, or the quad's centre at the press
    Vec2f start;    // from the pivot to the mouse when the rotation began
    Vec2f current;  // from the pivot to the mouse now
    float angle;    // angleBetween(start, current)
};

class CornerQuad {
public:
    // Places the corners on an image of the given size, (0, 0), (w, 0), (w, h), (0, h), and centres
    // the view on their mean.
    void placeOnImage(float width, float height);
    // The window size, zoom and pan of the frame about to be drawn: the view's centre is shown
    // `pan` window pixels off the window's centre. The view keeps its centre, so the corners stay
    // put in quad space while the window, the zoom or the pan changes.
    void setView(float windowWidth, float windowHeight, float zoom, Vec2f pan = Vec2f());

    // The mouse at window position (x, y). press and release record the buttons held. A rotation
    // the press starts turns about the quad's centre (the mean of its corners now) when
    // aboutCentre, else about the press point.
    void press(int x, int y, bool left, bool right, bool aboutCentre = false);
    void release(bool left, bool right);
    // True when a corner or an edge is now under the mouse.
    bool hover(int x, int y);
    // True when the corners changed. snapped turns a rotation by the nearest whole number of
    // ROTATION_STEP to the angle the mouse made since the rotation began.
    bool drag(int x, int y, bool snapped = false);
    // Moves the hovered corner by offset quad units; false, and nothing moves, when no corner is
    // hovered.
    bool nudgeHoveredCorner(const Vec2f& offset);
    // The corners back on an image of the given size, as placeOnImage puts them, but the view
    // stays where it is; any drag or rotation ends.
    void resetToImage(float width, float height);
    // Puts back corners that were given up (a warp of the new ones failed) and ends any drag or
    // rotation, so that the button still held does not carry on from the corners given up. The view
    // keeps its centre.
    void restoreCorners(const std::array<Vec2f, 4>& corners);

    // Edge i joins corner i and corner (i + 1) mod 4.
    const std::array<Vec2f, 4>& corners() const { return corners_; }
    // The smallest axis-aligned rectangle holding the four corners.
    Rectf boundingRect() const;
    const Matrix44f& viewMatrix() const { return viewMatrix_; }
    // The corner or the edge under the mouse, -1 for none; at most one is set.
    int hoveredCorner() const { return hoverCorner_; }
    int hoveredEdge() const { return hoverEdge_; }
    // A drawn handle's radius in quad units: the same number of window pixels at any zoom, while
    // the hit radius is that many quad units.
    float drawnHandleRadius() const { return HANDLE_RADIUS / zoom_; }
    std::optional<QuadRotation> rotation() const;
    // True while a press that moves the corners is held: on a corner or an edge, or a right one.
    bool held() const { return (leftDown_ && (hoverCorner_ >= 0 || hoverEdge_ >= 0)) || rightDown_; }

    // A snapped rotation's step: 15 degrees.
    static constexpr float ROTATION_STEP = 0.2617993877991494f;

private:
    // Hit radius in quad units.
    static constexpr float HANDLE_RADIUS = 4.0f;
    // Window pixels a right-button drag must exceed before it rotates.
    static constexpr float ROTATION_THRESHOLD = 40.0f;

    void recenter();
    Vec2f cornerMean() const;
    void updateMatrix();
    Vec2f windowToQuad(float x, float y, float z) const;
    bool dragRotation(const Vec2f& windowPos, bool snapped);
    // The point a rotation turns about, in window pixels.
    Vec2f rotationPivot() const;

    // The unit square until the first image is placed, so hit tests and drawing before any load
    // see finite corners.
    std::array<Vec2f, 4> corners_ = {Vec2f(0, 0), Vec2f(1, 0), Vec2f(1, 1), Vec2f(0, 1)};
    Matrix44f viewMatrix_;
    Matrix44f inverseViewMatrix_;
    // The quad-space point shown at the centre of the window.
    Vec2f center_;
    float windowWidth_ = 0.0f;
    float windowHeight_ = 0.0f;
    float zoom_ = 1.0f;
    Vec2f pan_;
    // Buttons held at the last press or release.
    bool leftDown_ = false;
    bool rightDown_ = false;
    int hoverCorner_ = -1;
    int hoverEdge_ = -1;
    // Grab point minus the hovered edge's first corner, and its second corner minus the grab point.
    Vec2f edgeOffsetStart_;
    Vec2f edgeOffsetEnd_;
    // Window position of the last press.
    Vec2f downPosition_;
    // Whether a rotation turns about the centre, and that centre in quad space, as of the last press.
    bool aboutCentre_ = false;
    Vec2f centreAtPress_;
    bool rotating_ = false;
    // Window vectors from the pivot to the mouse when the rotation began, and now.
    Vec2f rotationStart_;
    Vec2f rotationCurrent_;
    // Radians in [0, 2pi).
    float rotationAngle_ = 0.0f;
    // The corners as they were when the rotation began; a rotation always turns these.
    std::array<Vec2f, 4> savedCorners_;
};

}  // namespace loom
