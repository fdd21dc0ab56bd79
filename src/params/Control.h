// Control: one row of the parameter panel. A control draws itself at the position the panel
// gives and returns where the next one starts; mouse presses that land in its hit area (the
// rectangle of its last draw) are routed to it by the panel, together with the drags and the
// release that follow.
#pragma once

#include <cstdint>
#include <string>

#include "framework/MouseEvent.h"
#include "math/Color.h"
#include "math/Rect.h"
#include "math/Vec2.h"

namespace loom::params {

class ParamPanel;

class Control {
public:
    // Kind codes, so a BoolVarControl radio button can find the other boxes of its group.
    static constexpr int32_t FLOAT_VAR = 0;
    static constexpr int32_t LEVEL_VAR = 1;
    static constexpr int32_t BOOL_VAR = 2;
    static constexpr int32_t RADIO_BUTTON = 3;
    static constexpr int32_t LABEL = 6;

    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Lays out and draws the control with its content's top-left corner at pos (window pixels,
    // current GL matrices); returns the next control's corner.
    virtual Vec2f draw(Vec2f pos);
    // Only the layout of draw: recomputes the hit area for pos and returns the next corner.
    virtual Vec2f place(Vec2f pos) = 0;

    // The bound value as text and back; a control without a value has none.
    virtual std::string valueText() const { return std::string(); }
    virtual void setValueText(const std::string&) {}

    // Only the event's x and y are read.
    virtual void onMouseDown(framework::MouseEvent) {}
    virtual void onMouseUp(framework::MouseEvent) {}
    virtual void onMouseDrag(framework::MouseEvent) {}

    // All zero until the first place/draw, and always for labels, which never catch the mouse.
    const Rectf& getHitArea() const { return hitArea; }
    int32_t getKind() const { return kind; }
    const std::string& getCaption() const { return caption; }
    // The next draw shows the new caption.
    void setCaption(const std::string& text) { caption = text; }
    ParamPanel* getOwner() const { return owner; }
    void setOwner(ParamPanel* panel) { owner = panel; }

protected:
    Control(int32_t kind, std::string caption);

    // The strip, caption and parts of the control at pos, after place(pos).
    virtual void paint(Vec2f pos) const = 0;
    // The caption in the panel's font and text colour; its image's top edge is at pos.y minus the
    // font's descent.
    void drawCaption(Vec2f pos) const { drawCaption(pos, caption); }
    // Another text in the caption's place and look.
    void drawCaption(Vec2f pos, const std::string& text) const;
    // A filled rectangle in color (straight alpha blending is on while the panel draws).
    static void fillRect(const Rectf& rect, const ColorA& color);

    Rectf hitArea;
    int32_t kind;
    std::string caption;
    ParamPanel* owner = nullptr;
};

}  // namespace loom::params
