#include "params/ParamPanel.h"

#include <utility>

#include "gl/DrawString.h"
#include "gl/Matrices.h"
#include "gl/State.h"
#include "gl/TextCache.h"
#include "io/DataSource.h"
#include "params/EmbeddedFont.h"
#include "params/PanelStyle.h"

namespace loom::params {

namespace {

gl::Font& panelFont() {
    static gl::Font font;
    return font;
}

// The embedded bytes, borrowed (not copied, never freed) by the buffer the font reads.
gl::Font loadEmbeddedFont() {
    Buffer bytes(const_cast<unsigned char*>(embeddedFontData), embeddedFontSize);
    return gl::Font(makeBufferSource(bytes, std::string()), 10);
}

// A callback that forwards to the panel while it exists and declines the event afterwards.
std::function<bool(framework::MouseEvent)> forwardTo(
    const std::shared_ptr<ParamPanel*>& self, bool (ParamPanel::*handler)(framework::MouseEvent)) {
    std::weak_ptr<ParamPanel*> watched = self;
    return [watched, handler](framework::MouseEvent e) {
        const std::shared_ptr<ParamPanel*> panel = watched.lock();
        return panel && ((*panel)->*handler)(e);
    };
}

// Labels have no hit area (all zero): an empty rectangle catches nothing, not even (0, 0).
bool hits(const Rectf& area, float x, float y) {
    return area.x2 > area.x1 && area.y2 > area.y1 && area.x1 <= x && x <= area.x2 && area.y1 <= y &&
           y <= area.y2;
}

}  // namespace

ParamPanel::ParamPanel(framework::App* app)
    : app(app),
      captionCache(std::make_unique<gl::TextCache>()),
      self(std::make_shared<ParamPanel*>(this)) {
    panelFont() = loadEmbeddedFont();
    mouseDownId = app->registerMouseDown(forwardTo(self, &ParamPanel::onMouseDown));
    mouseUpId = app->registerMouseUp(forwardTo(self, &ParamPanel::onMouseUp));
    mouseDragId = app->registerMouseDrag(forwardTo(self, &ParamPanel::onMouseDrag));
    enabled = true;
}

ParamPanel::~ParamPanel() = default;

const gl::Font& ParamPanel::getFont() { return panelFont(); }

void ParamPanel::drawCaption(const std::string& text, Vec2f pos, const ColorA& color) {
    captionCache->drawString(text, pos, color, panelFont());
}

template <typename T>
T* ParamPanel::add(std::unique_ptr<T> control) {
    control->setOwner(this);
    T* added = control.get();
    controls.push_back(std::move(control));
    return added;
}

LabelControl* ParamPanel::addLabel(const std::string& caption) {
    return add(std::make_unique<LabelControl>(caption));
}

FloatVarControl* ParamPanel::addFloatParam(const std::string& caption, float* value, float min,
                                           float max, float initial) {
    return add(std::make_unique<FloatVarControl>(caption, value, min, max, initial));
}

LevelSliderControl* ParamPanel::addLevelParam(const std::string& caption, int* index,
                                              std::vector<std::string> levels, int initial) {
    return add(std::make_unique<LevelSliderControl>(caption, index, std::move(levels), initial));
}

BoolVarControl* ParamPanel::addBoolParam(const std::string& caption, bool* value, bool initial,
                                         int group) {
    return add(std::make_unique<BoolVarControl>(caption, value, initial, group));
}

std::vector<RadioButtonControl*> ParamPanel::addRadioGroup(const std::vector<std::string>& captions,
                                                           int* selection, int initial) {
    *selection = initial;
    std::vector<RadioButtonControl*> boxes;
    for (size_t i = 0; i < captions.size(); ++i)
        boxes.push_back(add(std::make_unique<RadioButtonControl>(captions[i], selection, int(i))));
    return boxes;
}

void ParamPanel::layout() {
    Vec2f pos(margin, margin);
    for (const auto& control : controls) pos = control->place(pos);
    setBounds(pos);
}

void ParamPanel::setBounds(Vec2f next) {
    bounds = controls.empty() ? Rectf()
                              : Rectf(margin - inset.x, margin - inset.y,
                                      margin + sliderSize.x + inset.x, next.y - controlGap + inset.y);
}

void ParamPanel::draw() {
    if (!enabled) return;
    gl::pushMatrices();
    gl::setWindowMatrices(app->getWindowWidth(), app->getWindowHeight(), true);
    gl::disableDepthRead();
    gl::disableDepthWrite();
    gl::enableAlphaBlending(false);
    Vec2f pos(margin, margin);
    for (const auto& control : controls) pos = control->draw(pos);
    setBounds(pos);
    captionCache->endFrame();
    gl::disableAlphaBlending();
    gl::enableDepthRead(true);
    gl::enableDepthWrite(true);
    gl::setColor(ColorA(1, 1, 1, 1));
    gl::popMatrices();
}

bool ParamPanel::onMouseDown(framework::MouseEvent e) {
    if (!enabled) return false;
    for (const auto& control : controls) {
        if (hits(control->getHitArea(), float(e.x), float(e.y))) {
            capturedControl = control.get();
            control->onMouseDown(e);
            return true;
        }
    }
    return false;
}

bool ParamPanel::onMouseUp(framework::MouseEvent e) {
    if (!enabled || !capturedControl) return false;
    capturedControl->onMouseUp(e);
    capturedControl = nullptr;
    return true;
}

bool ParamPanel::onMouseDrag(framework::MouseEvent e) {
    if (!enabled || !capturedControl) return false;
    capturedControl->onMouseDrag(e);
    return true;
}

}  // namespace loom::params
