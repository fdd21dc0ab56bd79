// CornerQuad: the editable quadrilateral onto which the enlarged image is pinned, and the logic of
// its mouse interaction (hover, corner and edge drags, right-button rotation). Drawing lives in the
// application layer, so this class reads no OpenGL; everything a drawing needs is public.
//
// Coordinate spaces: quad space has one unit per pixel of the loaded image, x right, y down; window
// space is in window pixels. viewMatrix maps quad space to the window, inverseViewMatrix back.
#pragma once

#include "math/Matrix44.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom {

// Clockwise-on-screen angle (y down) from a to b in radians, in [0, 2pi). Equal directions give
// exactly 0, and a zero vector gives 0: never a non-number.
float angleBetween(const Vec2f& a, const Vec2f& b);

class CornerQuad {
public:
    // Declared out of line so that the class is no aggregate: a braced list of four corners then
    // means a WarpQuad's corner array, never a CornerQuad.
    CornerQuad();

    // Edge i joins corner i and corner (i + 1) mod 4. The unit square until the first image is
    // placed, so hit tests and drawing before any load see finite corners.
    Vec2f corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    Matrix44f viewMatrix;
    Matrix44f inverseViewMatrix;
    // The quad-space point shown at the centre of the window.
    Vec2f center;
    // Written by the application before every matrix update.
    float windowWidth = 0.0f;
    float windowHeight = 0.0f;
    float zoom = 1.0f;
    // Buttons held at the last press or release.
    bool leftDown = false;
    bool rightDown = false;
    // Index of the corner or edge under the mouse, -1 for none; at most one is set.
    int hoverCorner = -1;
    int hoverEdge = -1;
    // Grab point minus the hovered edge's first corner, and its second corner minus the grab point.
    Vec2f edgeOffsetStart;
    Vec2f edgeOffsetEnd;
    // Window position of the last press.
    Vec2f downPosition;
    bool rotating = false;
    // Window vectors from downPosition to the mouse when the rotation began, and now.
    Vec2f rotationStart;
    Vec2f rotationCurrent;
    // Radians in [0, 2pi).
    float rotationAngle = 0.0f;
    // The corners as they were when the rotation began; a rotation always turns these.
    Vec2f savedCorners[4];
    // Hit radius in quad units (drawn handles have radius handleRadius / zoom).
    float handleRadius = 4.0f;
    // Window pixels a right-button drag must exceed before it rotates.
    float rotationThreshold = 40.0f;

    // Places the corners on an image of the given size: (0, 0), (w, 0), (w, h), (0, h).
    void placeOnImage(float width, float height);
    // Centres the view on the mean of the corners, then updates the matrices.
    void recenter();
    // Rebuilds both matrices from the window size, zoom and center.
    void updateMatrix();
    // The smallest axis-aligned rectangle holding the four corners.
    Rectf boundingRect() const;

    void press(int x, int y, bool left, bool right);
    void release(bool left, bool right);
    // True when a corner or an edge is now under the mouse at window position (x, y).
    bool hover(int x, int y);
    // True when the corners changed.
    bool drag(int x, int y);

private:
    Vec2f windowToQuad(float x, float y, float z) const;
    bool dragRotation(const Vec2f& windowPos);
};

}  // namespace loom
