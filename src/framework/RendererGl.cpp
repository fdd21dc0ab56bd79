#include "framework/RendererGl.h"

#include <GL/glew.h>

#include <cmath>

#include "framework/App.h"
#include "framework/sdl/AppImplSdlRendererGl.h"

namespace loom::framework {

int RendererGl::samplesForLevel(int level) {
    static constexpr int SAMPLES[] = {0, 2, 4, 6, 8, 16, 32};
    if (level < AA_NONE) return 0;
    return SAMPLES[level > AA_MSAA_32 ? AA_MSAA_32 : level];
}

RendererGl::RendererGl(int antiAliasing) : antiAliasing_(antiAliasing) {}

RendererGl::~RendererGl() = default;

NativeWindow* RendererGl::setup(App* app, const WindowRequest& request) {
    app_ = app;
    if (!impl_) impl_ = std::make_unique<sdl::AppImplSdlRendererGl>(this);
    return impl_->initialize(request);
}

void RendererGl::kill() {
    if (impl_) impl_->kill();
}

NativeWindow* RendererGl::getWindow() const { return impl_ ? impl_->getWindow() : nullptr; }

const std::string& RendererGl::getError() const {
    static const std::string none;
    return impl_ ? impl_->getError() : none;
}

void RendererGl::startDraw() {
    if (impl_) impl_->makeCurrentContext();
}

void RendererGl::finishDraw() {
    if (impl_) impl_->swapBuffers();
}

Matrix44f RendererGl::windowProjection(int width, int height) {
    const double halfFov = 30.0 * M_PI / 180.0;
    double aspect = double(width) / double(height);
    double distance = (height / 2.0) / std::tan(halfFov);
    double nearClip = distance / 10.0;
    double farClip = distance * 10.0;
    double top = nearClip * std::tan(halfFov);
    double right = top * aspect;
    // glFrustum(-right, right, -top, top, near, far)
    Matrix44f m;
    m.at(0, 0) = float(nearClip / right);
    m.at(1, 1) = float(nearClip / top);
    m.at(2, 2) = float(-(farClip + nearClip) / (farClip - nearClip));
    m.at(2, 3) = float(-2.0 * farClip * nearClip / (farClip - nearClip));
    m.at(3, 2) = -1.0f;
    m.at(3, 3) = 0.0f;
    return m;
}

Matrix44f RendererGl::windowModelView(int width, int height) {
    const double halfFov = 30.0 * M_PI / 180.0;
    float distance = float((height / 2.0) / std::tan(halfFov));
    // The camera sits at (w/2, h/2, d) looking down -z with y up, so its view is a translation.
    Matrix44f m = Matrix44f::createTranslation(Vec3f(-width / 2.0f, -height / 2.0f, -distance));
    // Then one unit per pixel with the origin top-left and y down.
    m.scale(Vec3f(1.0f, -1.0f, 1.0f));
    m.translate(Vec3f(0.0f, -float(height), 0.0f));
    return m;
}

void RendererGl::defaultResize() {
    if (!app_) return;
    int width = app_->getWindowWidth();
    int height = app_->getWindowHeight();
    if (width < 1 || height < 1) return;
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(windowProjection(width, height).data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(windowModelView(width, height).data());
}

Surface RendererGl::copyWindowSurface(const Area& area) {
    Surface surface(area.getWidth(), area.getHeight(), false);
    if (!app_ || area.getWidth() < 1 || area.getHeight() < 1) return surface;
    glFlush();
    GLint oldPackAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &oldPackAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(area.x1, app_->getWindowHeight() - area.y2, area.getWidth(), area.getHeight(), GL_RGB,
                 GL_UNSIGNED_BYTE, surface.getData());
    glPixelStorei(GL_PACK_ALIGNMENT, oldPackAlignment);
    surface.flipVertical();
    return surface;
}

}  // namespace loom::framework
