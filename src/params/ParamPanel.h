// ParamPanel: the in-window parameter panel, a column of controls at the top-left of the window,
// drawn over the picture at the end of every frame. It registers mouse-down, mouse-up and
// mouse-drag callbacks with the application, so a press on one of its controls, and every drag
// until the release, goes to that control and never reaches the application's hooks; presses
// anywhere else pass through.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/App.h"
#include "gl/Font.h"
#include "math/Color.h"
#include "params/BoolVarControl.h"
#include "params/Control.h"
#include "params/FloatVarControl.h"
#include "params/LabelControl.h"
#include "params/LevelSliderControl.h"
#include "params/RadioButtonControl.h"

namespace loom::gl {
class TextCache;
}

namespace loom::params {

class ParamPanel {
public:
    // Makes the panel font from the embedded pixel font at size 10 (a 7.5-pixel em; throws
    // FontInvalidNameExc if it cannot be loaded) and registers the three mouse callbacks with app,
    // which must outlive the panel. The panel starts enabled and empty.
    explicit ParamPanel(framework::App* app);
    // Frees the controls. The callbacks stay registered (the application offers no removal) but
    // do nothing once the panel is gone.
    ~ParamPanel();
    ParamPanel(const ParamPanel&) = delete;
    ParamPanel& operator=(const ParamPanel&) = delete;

    // Each builds the control (which writes the initial value into the bound variable), appends
    // it and returns it; the panel keeps ownership.
    LabelControl* addLabel(const std::string& caption);
    FloatVarControl* addFloatParam(const std::string& caption, float* value, float min, float max,
                                   float initial);
    LevelSliderControl* addLevelParam(const std::string& caption, int* index,
                                      std::vector<std::string> levels, int initial);
    BoolVarControl* addBoolParam(const std::string& caption, bool* value, bool initial, int group);
    // One box per caption, in order, box i on while *selection == i and a press on it setting
    // *selection = i. Writes initial into *selection; returns the boxes.
    std::vector<RadioButtonControl*> addRadioGroup(const std::vector<std::string>& captions,
                                                   int* selection, int initial);

    // Draws every control in window pixels from (7, 7) down, with straight alpha blending and
    // without depth; leaves blending off, depth read and write on, the colour white and the
    // matrices as they were.
    void draw();
    // The layout of draw without drawing: sets every control's hit area.
    void layout();
    // The window rectangle the controls' strips cover, as the last layout or draw placed them
    // (empty before): what the panel hides of the picture.
    const Rectf& getBounds() const { return bounds; }

    // The callbacks: true when the event was for the panel (and so is consumed).
    bool onMouseDown(framework::MouseEvent e);
    bool onMouseUp(framework::MouseEvent e);
    bool onMouseDrag(framework::MouseEvent e);

    bool isEnabled() const { return enabled; }
    // A disabled panel neither draws nor takes any mouse event.
    void setEnabled(bool enable) { enabled = enable; }
    const std::vector<std::unique_ptr<Control>>& getControls() const { return controls; }
    Control* getCapturedControl() const { return capturedControl; }
    // Ends a press on a control without a release, for when the release will never come (a
    // modal dialog takes the mouse): later drags go to the application again.
    void releaseCapture() { capturedControl = nullptr; }
    framework::CallbackId getMouseDownCallbackId() const { return mouseDownId; }
    framework::CallbackId getMouseUpCallbackId() const { return mouseUpId; }
    framework::CallbackId getMouseDragCallbackId() const { return mouseDragId; }

    // The font of every panel's captions: the embedded pixel font, made by the latest panel.
    static const gl::Font& getFont();
    // A caption in the panel font; its image's top edge is at pos.y minus the font's descent.
    // Captions are rasterised once and their textures reused while they stay on screen.
    void drawCaption(const std::string& text, Vec2f pos, const ColorA& color);

private:
    template <typename T>
    T* add(std::unique_ptr<T> control);
    // Every strip ends inset.y below its content, and the next control starts controlGap below it.
    void setBounds(Vec2f next);

    bool enabled = false;
    Rectf bounds;
    std::vector<std::unique_ptr<Control>> controls;
    Control* capturedControl = nullptr;
    framework::CallbackId mouseDownId = 0;
    framework::CallbackId mouseUpId = 0;
    framework::CallbackId mouseDragId = 0;
    framework::App* app;
    // The textures of the captions drawn in the last frame.
    std::unique_ptr<gl::TextCache> captionCache;
    // Watched by the registered callbacks, which outlive the panel.
    std::shared_ptr<ParamPanel*> self;
};

}  // namespace loom::params
