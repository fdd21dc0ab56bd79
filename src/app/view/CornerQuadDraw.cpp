#include "app/view/CornerQuadDraw.h"

#include "gl/Draw.h"
#include "math/Path2d.h"

namespace loom {
namespace app {

namespace {

const ColorA kIdle(0.4f, 0.4f, 0.4f, 1.0f);
const ColorA kHovered(0.4f, 0.8f, 0.4f, 1.0f);
constexpr float kPi = 3.14159265358979f;

// The sector between the rotation's start and current directions, the smaller of the two ways.
void drawRotationIndicator(const QuadRotation& rotation) {
    const float a0 = angleBetween(Vec2f(1.0f, 0.0f), rotation.start);
    const float radius = rotation.current.length();
    float start = a0, end = a0 + rotation.angle;
    if (!(rotation.angle >= 0.0f && rotation.angle <= kPi)) {
        start = a0 + rotation.angle;
        end = a0;
    }
    Path2d sector;
    sector.moveTo(rotation.pivot);
    sector.arc(rotation.pivot, radius, start, end, true);
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
    gl::multModelView(quad.viewMatrix());
    const std::array<Vec2f, 4>& corners = quad.corners();
    for (int i = 0; i < 4; ++i) {
        gl::setColor(quad.hoveredEdge() == i ? kHovered : kIdle);
        gl::drawLine(corners[i], corners[(i + 1) % 4]);
    }
    // The handles over every line, so that the one under the pointer shows whole.
    for (int i = 0; i < 4; ++i) {
        gl::setColor(quad.hoveredCorner() == i ? kHovered : kIdle);
        gl::drawSolidCircle(corners[i], quad.drawnHandleRadius(), 30);
    }
    gl::popMatrices();
    if (const std::optional<QuadRotation> rotation = quad.rotation()) drawRotationIndicator(*rotation);
}

}  // namespace app
}  // namespace loom
