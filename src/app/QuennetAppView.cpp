// One frame: the background, the picture (centred at the zoom, or pinned on the quadrilateral) over
// a checkerboard where it is transparent, the quadrilateral's outline and handles when a transform
// is selected, and the panel on top.
#include "app/CornerQuadDraw.h"
#include "app/QuennetApp.h"
#include "app/ViewLayout.h"
#include "gl/Draw.h"
#include "gl/DrawOverCheckerboard.h"
#include "params/ParamPanel.h"

namespace loom {
namespace app {

void QuennetApp::draw() {
    const int w = getWindowWidth();
    const int h = getWindowHeight();
    gl::setWindowMatrices(w, h, true);
    gl::clearWindow(ColorA(0.1f, 0.1f, 0.1f, 1.0f), true);
    gl::setColor(ColorA(1.0f, 1.0f, 1.0f, 1.0f));

    const gl::Texture& texture = showSource ? sourceTexture : resultTexture;
    if (pipeline.currentTransform == 0) {
        if (texture) {
            drawUnwarped(texture);
            panel->draw();
            return;
        }
    } else {
        drawWarped(texture);
    }

    gl::disableDepthRead();
    gl::disableDepthWrite();
    cornerQuad.setView(float(w), float(h), zoom);
    drawCornerQuad(cornerQuad);
    panel->draw();
}

void QuennetApp::drawUnwarped(const gl::Texture& texture) {
    const UnwarpedPlacement place =
        placeUnwarped(zoom, sourceSurface.getWidth(), texture.width(), texture.height(),
                      getWindowWidth(), getWindowHeight());
    gl::pushMatrices();
    gl::scale(Vec3f(place.scale, place.scale, place.scale));
    gl::drawTextureOverCheckerboard(texture, place.topLeft);
    gl::popMatrices();
}

// The result in quad space, stretched over the quadrilateral's bounding rectangle: whatever the
// upscaler's factor, the picture keeps the place and size of the quad. The checkerboard fills the
// whole rectangle: outside the quad the result is transparent too, and is saved so.
void QuennetApp::drawWarped(const gl::Texture& texture) {
    if (!texture || !pipeline.resultSurface) return;
    gl::pushMatrices();
    gl::multModelView(cornerQuad.viewMatrix());
    gl::drawTextureOverCheckerboard(texture, texture.getBounds(), cornerQuad.boundingRect());
    gl::popMatrices();
}

}  // namespace app
}  // namespace loom
