// One frame: the background, the picture (centred at the zoom, or pinned on the quadrilateral) over
// a checkerboard where it is transparent, the quadrilateral's outline and handles when a transform
// is selected, and the panel on top.
#include "app/CornerQuadDraw.h"
#include "app/PreviewMesh.h"
#include "app/QuennetApp.h"
#include "app/ViewLayout.h"
#include "gl/Draw.h"
#include "gl/DrawOverCheckerboard.h"
#include "gl/DrawString.h"
#include "gl/DrawTexture.h"
#include "gl/Shapes.h"
#include "gl/State.h"
#include "gl/TextRaster.h"
#include "gl/Texture.h"
#include "image/SheetLayout.h"
#include "image/UpscalerCatalogue.h"
#include "params/PanelStyle.h"
#include "params/ParamPanel.h"

namespace loom {
namespace app {

void QuennetApp::draw() {
    const int w = getWindowWidth();
    const int h = getWindowHeight();
    gl::setWindowMatrices(w, h, true);
    gl::clearWindow(ColorA(0.1f, 0.1f, 0.1f, 1.0f), true);
    gl::setColor(ColorA(1.0f, 1.0f, 1.0f, 1.0f));
    // The view of this frame before anything is drawn through it: the first frame after a zoom or
    // size change, or after a file named on the command line was opened before any frame, would
    // otherwise place the picture with the last frame's view (or none).
    cornerQuad_.setView(float(w), float(h), zoom() * float(resultFactor()), pan_);

    // Space shows the previous result as it was made; otherwise the selections show at once, the
    // exact result once it is made and until then a preview drawn from the upscale.
    const int transform = showSource_ ? pipeline_.currentTransform : pipeline_.transform;
    if (transform == 0) {
        if (const gl::Texture& texture = showSource_ ? sourceTexture_ : upscaledTexture_) {
            drawUnwarped(texture);
            panel_->draw();
            drawStatusLine();
            return;
        }
    } else if (showSource_ || pipeline_.shows(sourceSurface_, cornerQuad_.corners())) {
        drawWarped(shownTexture());
    } else {
        drawPreview();
    }

    gl::disableDepthRead();
    gl::disableDepthWrite();
    drawCornerQuad(cornerQuad_);
    panel_->draw();
    drawStatusLine();
}

// What is not a control (the busy mark while a result is being made, the picture held on space, the
// messages of the moment, the atlas in use, the frame shown, what a save could not keep) at the window's
// bottom left, in the panel's font.
void QuennetApp::drawStatusLine() {
    std::vector<std::string> parts = messages_.showing(getElapsedSeconds());
    if (showSource_) parts.insert(parts.begin(), "Previous result");
    busyMarkShown_ = busyMarkDue();
    if (busyMarkShown_) parts.insert(parts.begin(), "Working...");
    parts.insert(parts.end(),
                 {status_, animation_.animated() ? animation_.statusText() : "", saveNote_, pageNote_});
    std::string line;
    for (const std::string& part : parts)
        if (!part.empty()) line += (line.empty() ? "" : "   ") + part;
    if (line.empty()) return;
    // On the panel's strip colour, so that the text reads over a white backdrop or a bright picture.
    float descent = 0.0f;
    const Surface text =
        gl::rasterizeText(line, params::ParamPanel::getFont(), ColorA(1, 1, 1, 1), &descent);
    if (!text) return;
    const gl::Texture texture(text);
    const Vec2f at(8.0f, float(getWindowHeight()) - 20.0f);
    gl::disableDepthRead();  // the panel turns it back on, and the text lies on the strip's depth
    const Rectf drawn(at.x, at.y - descent, at.x + float(text.getWidth()),
                      at.y - descent + float(text.getHeight()));
    gl::enableAlphaBlending();
    gl::setColor(params::backColor);
    gl::drawSolidRect(Rectf(drawn.x1 - 4.0f, drawn.y1 - 2.0f, drawn.x2 + 4.0f, drawn.y2 + 2.0f));
    gl::setColor(ColorA(1, 1, 1, 1));
    gl::drawTextTexture(texture, at, descent);
    gl::disableAlphaBlending();
}

void QuennetApp::drawUnwarped(const gl::Texture& texture) {
    // The result at the zoom; the previous picture (space) as large as the result, to compare.
    const float scale =
        zoom() * float(resultFactor() * sourceSurface_.getWidth()) / float(texture.width());
    const UnwarpedPlacement place = placeUnwarped(scale, texture.width(), texture.height(),
                                                  getWindowWidth(), getWindowHeight(), pan_);
    gl::pushMatrices();
    gl::scale(Vec3f(place.scale, place.scale, place.scale));
    const int copies = tiled_ ? 1 : 0;  // on each side
    for (int row = -copies; row <= copies; ++row)
        for (int column = -copies; column <= copies; ++column)
            gl::drawTextureOverCheckerboard(
                texture,
                place.topLeft + Vec2f(float(column * texture.width()), float(row * texture.height())),
                backdrop_);
    if (cellOutlines_ && pipeline_.layout.cells && !showSource_)
        drawCellOutlines(place.topLeft, float(upscalerById(pipeline_.currentUpscaler).factor));
    gl::popMatrices();
}

// The cells' outlines in picture pixels times the factor; lines a picture pixel thick, inside the
// cells' edges, so that neighbouring cells' outlines do not cover each other.
void QuennetApp::drawCellOutlines(const Vec2f& topLeft, float factor) {
    gl::enableAlphaBlending();
    gl::setColor(ColorA(1.0f, 0.0f, 1.0f, 0.8f));
    for (const Area& cell :
         cellsOf(*pipeline_.layout.cells, sourceSurface_.getWidth(), sourceSurface_.getHeight())) {
        const Rectf r(topLeft.x + factor * float(cell.x1), topLeft.y + factor * float(cell.y1),
                      topLeft.x + factor * float(cell.x2), topLeft.y + factor * float(cell.y2));
        gl::drawSolidRect(Rectf(r.x1, r.y1, r.x2, r.y1 + 1.0f));
        gl::drawSolidRect(Rectf(r.x1, r.y2 - 1.0f, r.x2, r.y2));
        gl::drawSolidRect(Rectf(r.x1, r.y1, r.x1 + 1.0f, r.y2));
        gl::drawSolidRect(Rectf(r.x2 - 1.0f, r.y1, r.x2, r.y2));
    }
    gl::setColor(ColorA(1.0f, 1.0f, 1.0f, 1.0f));
    gl::disableAlphaBlending();
}

// The result in quad space from the top-left of the quadrilateral's bounding rectangle, factor
// result pixels to a quad unit, as the warp made it; the previous result shown while space is held
// (of another factor, maybe) is stretched over the rectangle. The checkerboard fills the whole
// rectangle: outside the quad the result is transparent too, and is saved so.
void QuennetApp::drawWarped(const gl::Texture& texture) {
    if (!texture || !pipeline_.resultSurface) return;
    const Rectf bounds = cornerQuad_.boundingRect();
    const float factor = float(upscalerById(pipeline_.currentUpscaler).factor);
    const Rectf dest = showSource_
                           ? bounds
                           : Rectf(bounds.x1, bounds.y1, bounds.x1 + float(texture.width()) / factor,
                                   bounds.y1 + float(texture.height()) / factor);
    gl::pushMatrices();
    gl::multModelView(cornerQuad_.viewMatrix());
    gl::drawBackdrop(bounds, backdrop_);
    gl::enableAlphaBlending();
    gl::drawTexture(texture, texture.getBounds(), dest);
    gl::disableAlphaBlending();
    gl::popMatrices();
}

// Over the same checkerboard as the exact result, which it turns into without a jump.
void QuennetApp::drawPreview() {
    if (!upscaledTexture_) return;
    gl::pushMatrices();
    gl::multModelView(cornerQuad_.viewMatrix());
    gl::drawBackdrop(cornerQuad_.boundingRect(), backdrop_);
    // The exact warp gives each result pixel the picture at its top-left corner, the GPU at its
    // centre: half a result pixel apart.
    const float half = 0.5f / float(upscalerById(pipeline_.currentUpscaler).factor);
    gl::multModelView(Matrix44f::createTranslation(Vec3f(half, half, 0.0f)));
    gl::enableAlphaBlending();
    gl::drawTextureMesh(upscaledTexture_, previewMesh(pipeline_.transform, cornerQuad_.corners()));
    gl::disableAlphaBlending();
    gl::popMatrices();
}

}  // namespace app
}  // namespace loom
