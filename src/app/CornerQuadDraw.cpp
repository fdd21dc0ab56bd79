#include "app/CornerQuadDraw.h"

#include "gl/Draw.h"
#include "math/Path2d.h"

namespace loom {
namespace app {

namespace {

const ColorA kIdle(0.4f, 0.4f, 0.4f, 1.0f);
const ColorA kHovered(0.4f, 0.8f, 0.4f, 1.0f);
constexpr float kPi = 3.14159265358979f;

// The sector between the rotation's start and current directions, the smaller of the two ways.
void drawRotationIndicator(const CornerQuad& quad) {
    const float a0 = angleBetween(Vec2f(1.0f, 0.0f), quad.rotationStart);
    const float radius = quad.rotationCurrent.length();
    float start = a0, end = a0 + quad.rotationAngle;
    if (!(quad.rotationAngle >= 0.0f && quad.rotationAngle <= kPi)) {
        start = a0 + quad.rotationAngle;
        end = a0;
    }
    Path2d sector;
    sector.moveTo(quad.downPosition);
    sector.arc(quad.downPosition, radius, start, end, true);
    sector.close();

    gl::enableAdditiveBlending();  // the sector brightens what is under it
    gl::setColor(ColorA(1.0f, 1.0f, 1.0f, 0.2f));
    gl::drawSolidPath(sector, 1.0f);
    gl::setColor(kHovered);
    gl::drawPath(sector, 1.0f);
    gl::disableAlphaBlending();
}

}  // namespace

void drawCornerQuad(const CornerQuad& quad) {
    gl::setLineWidth(2.0f);
    gl::pushMatrices();
    gl::multModelView(quad.viewMatrix);
    const float handleRadius = quad.handleRadius / quad.zoom;
    for (int i = 0; i < 4; ++i) {
        gl::setColor(quad.hoverEdge == i ? kHovered : kIdle);
        gl::drawLine(quad.corners[i], quad.corners[(i + 1) % 4]);
        gl::setColor(quad.hoverCorner == i ? kHovered : kIdle);
        gl::drawSolidCircle(quad.corners[i], handleRadius, 30);
    }
    gl::popMatrices();
    if (quad.rotating) drawRotationIndicator(quad);
}

}  // namespace app
}  // namespace loom
