#include "app/view/PictureDrawing.h"

#include "app/view/CornerQuadDraw.h"
#include "app/view/PreviewMesh.h"
#include "app/view/ViewLayout.h"
#include "gl/Draw.h"
#include "gl/DrawOverCheckerboard.h"
#include "gl/DrawTexture.h"
#include "gl/Shapes.h"
#include "gl/State.h"
#include "image/SheetLayout.h"
#include "image/UpscalerCatalogue.h"

namespace loom::app {

namespace {

float factorShown(const ProcessingPipeline& pipeline) {
    return float(upscalerById(pipeline.currentUpscaler).factor);
}

// The cells' outlines in picture pixels times the factor; lines a picture pixel thick, inside the
// cells' edges, so that neighbouring cells' outlines do not cover each other.
void drawCellOutlines(const PictureScene& scene, const Vec2f& topLeft) {
    const float factor = factorShown(scene.pipeline);
    gl::enableAlphaBlending();
    gl::setColor(ColorA(1.0f, 0.0f, 1.0f, 0.8f));
    for (const Area& cell :
         cellsOf(*scene.pipeline.layout.cells, scene.pictureWidth, scene.pictureHeight)) {
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

void drawUnwarped(const PictureScene& scene, const gl::Texture& texture) {
    const View& view = scene.view;
    // The result at the zoom; the previous picture (space) as large as the result, to compare.
    const float scale =
        view.zoom() * factorShown(scene.pipeline) * float(scene.pictureWidth) / float(texture.width());
    const UnwarpedPlacement place = placeUnwarped(scale, texture.width(), texture.height(),
                                                  int(scene.window.x), int(scene.window.y), view.pan);
    gl::pushMatrices();
    gl::scale(Vec3f(place.scale, place.scale, place.scale));
    const int copies = view.tiled ? 1 : 0;  // on each side
    for (int row = -copies; row <= copies; ++row)
        for (int column = -copies; column <= copies; ++column)
            gl::drawTextureOverCheckerboard(
                texture,
                place.topLeft + Vec2f(float(column * texture.width()), float(row * texture.height())),
                view.backdrop);
    if (view.cellOutlines && scene.pipeline.layout.cells && !scene.previous)
        drawCellOutlines(scene, place.topLeft);
    gl::popMatrices();
}

// The result in quad space from the top-left of the quadrilateral's bounding rectangle, factor
// result pixels to a quad unit, as the warp made it; the previous result shown while space is held
// (of another factor, maybe) is stretched over the rectangle. The backdrop fills the whole
// rectangle: outside the quad the result is transparent too, and is saved so.
void drawWarped(const PictureScene& scene, const gl::Texture& texture) {
    if (!texture || !scene.pipeline.resultSurface) return;
    const Rectf bounds = scene.quad.boundingRect();
    const float factor = factorShown(scene.pipeline);
    const Rectf dest = scene.previous
                           ? bounds
                           : Rectf(bounds.x1, bounds.y1, bounds.x1 + float(texture.width()) / factor,
                                   bounds.y1 + float(texture.height()) / factor);
    gl::pushMatrices();
    gl::multModelView(scene.quad.viewMatrix());
    gl::drawBackdrop(bounds, scene.view.backdrop);
    gl::enableAlphaBlending();
    gl::drawTexture(texture, texture.getBounds(), dest);
    gl::disableAlphaBlending();
    gl::popMatrices();
}

// Over the same backdrop as the exact result, which it turns into without a jump.
void drawPreview(const PictureScene& scene) {
    const gl::Texture& upscaled = scene.pictures.upscaled();
    if (!upscaled) return;
    gl::pushMatrices();
    gl::multModelView(scene.quad.viewMatrix());
    gl::drawBackdrop(scene.quad.boundingRect(), scene.view.backdrop);
    // The exact warp gives each result pixel the picture at its top-left corner, the GPU at its
    // centre: half a result pixel apart.
    const float half = 0.5f / factorShown(scene.pipeline);
    gl::multModelView(Matrix44f::createTranslation(Vec3f(half, half, 0.0f)));
    gl::enableAlphaBlending();
    gl::drawTextureMesh(upscaled, previewMesh(scene.pipeline.transform, scene.quad.corners()));
    gl::disableAlphaBlending();
    gl::popMatrices();
}

}  // namespace

void drawPicture(const PictureScene& scene) {
    const ProcessingPipeline& pipeline = scene.pipeline;
    const ShownPictures& pictures = scene.pictures;
    // Space shows the previous picture as it was made; otherwise the selections show at once, the
    // exact result once it is made and until then a preview drawn from the upscale.
    const int transform = scene.previous ? pipeline.currentTransform : pipeline.transform;
    if (transform == 0) {
        if (const gl::Texture& texture = scene.previous ? pictures.previous() : pictures.upscaled()) {
            drawUnwarped(scene, texture);
            return;
        }
    } else if (scene.previous || scene.exactWarp) {
        drawWarped(scene, scene.previous ? pictures.previous() : pictures.result());
    } else {
        drawPreview(scene);
    }
    gl::disableDepthRead();
    gl::disableDepthWrite();
    drawCornerQuad(scene.quad);
}

}  // namespace loom::app
