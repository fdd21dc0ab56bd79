// SDL events into the framework's events. Mouse buttons are tracked from the events themselves, so
// each event reports the buttons held as of that event, not as of when the queue was drained.
#include <SDL.h>

#include "framework/AppBasic.h"
#include "framework/sdl/AppImplSdlBasic.h"
#include "framework/sdl/KeyTranslationSdl.h"

namespace loom::framework::sdl {

namespace {

// The raw state word kept in MouseEvent::nativeModifiers: buttons low, key modifiers high.
unsigned nativeModifiersFor(uint32_t buttons, uint16_t mod) {
    return (buttons & 0xFFFFu) | (unsigned(mod) << 16);
}

}  // namespace

void AppImplSdlBasic::drainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) handleEvent(event);
    flushTouches();
}

void AppImplSdlBasic::handleEvent(const SDL_Event& event) {
    // Whatever the event (input, expose, focus), the next frame shows its effect.
    appBasic_->requestRedraw();
    if (event.type == SDL_FINGERDOWN || event.type == SDL_FINGERMOTION || event.type == SDL_FINGERUP) {
        queueTouch(event.tfinger);
        return;
    }
    // Contacts reported together are dispatched together, before whatever follows them.
    flushTouches();
    switch (event.type) {
        case SDL_QUIT: quit_ = true; break;
        case SDL_WINDOWEVENT: handleWindowEvent(event.window); break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: handleMouseButton(event.button); break;
        case SDL_MOUSEMOTION: handleMouseMotion(event.motion); break;
        case SDL_MOUSEWHEEL: handleMouseWheel(event.wheel); break;
        case SDL_KEYDOWN:
        case SDL_KEYUP: handleKey(event.key); break;
        case SDL_DROPBEGIN:
        case SDL_DROPFILE:
        case SDL_DROPCOMPLETE: handleDrop(event.drop); break;
        default: break;
    }
}

void AppImplSdlBasic::handleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
        case SDL_WINDOWEVENT_MOVED:
            if (windowReady_) windowMoved(event.data1, event.data2);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (windowReady_) {
                width_ = event.data1;
                height_ = event.data2;
                appBasic_->privateResize(ResizeEvent(width_, height_));
            }
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST: releaseButtonOnFocusLoss(); break;
        case SDL_WINDOWEVENT_CLOSE: quit_ = true; break;
        default: break;
    }
}

void AppImplSdlBasic::handleMouseButton(const SDL_MouseButtonEvent& event) {
    if (event.which == SDL_TOUCH_MOUSEID && appBasic_->getSettings().enableMultiTouch)
        return;  // the same contact arrives as a touch
    int bit = buttonBitFor(event.button);
    uint32_t mask = SDL_BUTTON(event.button);
    bool down = event.type == SDL_MOUSEBUTTONDOWN;
    buttons_ = down ? (buttons_ | mask) : (buttons_ & ~mask);
    if (bit == 0) return;  // buttons beyond the three the framework knows
    uint16_t mod = uint16_t(SDL_GetModState());
    MouseEvent mouse(bit, event.x, event.y, mouseModifiersFor(buttons_, mod), 0.0f,
                     nativeModifiersFor(buttons_, mod));
    // While a button is held the window keeps the pointer, so drags may leave the window.
    buttonHeld_ = down;
    SDL_CaptureMouse(down ? SDL_TRUE : SDL_FALSE);
    if (down)
        appBasic_->privateMouseDown(mouse);
    else
        appBasic_->privateMouseUp(mouse);
}

void AppImplSdlBasic::handleMouseMotion(const SDL_MouseMotionEvent& event) {
    if (event.which == SDL_TOUCH_MOUSEID && appBasic_->getSettings().enableMultiTouch) return;
    buttons_ = event.state;
    uint16_t mod = uint16_t(SDL_GetModState());
    MouseEvent mouse(0, event.x, event.y, mouseModifiersFor(buttons_, mod), 0.0f,
                     nativeModifiersFor(buttons_, mod));
    if (buttonHeld_)
        appBasic_->privateMouseDrag(mouse);
    else
        appBasic_->privateMouseMove(mouse);
}

void AppImplSdlBasic::handleMouseWheel(const SDL_MouseWheelEvent& event) {
    float notches = event.preciseY;
    if (event.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    if (notches == 0.0f) return;  // a purely horizontal scroll
    uint16_t mod = uint16_t(SDL_GetModState());
    MouseEvent mouse(0, event.mouseX, event.mouseY, mouseModifiersFor(buttons_, mod), notches,
                     nativeModifiersFor(buttons_, mod));
    appBasic_->privateMouseWheel(mouse);
}

void AppImplSdlBasic::releaseButtonOnFocusLoss() {
    if (!buttonHeld_) return;
    // The button's release will go to whichever window has the focus now: end the press here.
    Vec2f pos = getMousePos();
    uint16_t mod = uint16_t(SDL_GetModState());
    buttons_ = 0;
    MouseEvent mouse(0, int(pos.x), int(pos.y), mouseModifiersFor(0, mod), 0.0f,
                     nativeModifiersFor(0, mod));
    appBasic_->privateMouseUp(mouse);
    buttonHeld_ = false;
    SDL_CaptureMouse(SDL_FALSE);
}

void AppImplSdlBasic::handleKey(const SDL_KeyboardEvent& event) {
    KeyEvent key = translateKey(event.keysym);
    if (event.type == SDL_KEYDOWN)
        appBasic_->privateKeyDown(key);
    else
        appBasic_->privateKeyUp(key);
}

void AppImplSdlBasic::handleDrop(const SDL_DropEvent& event) {
    switch (event.type) {
        case SDL_DROPBEGIN:
            dropping_ = true;
            droppedFiles_.clear();
            break;
        case SDL_DROPFILE:
            if (event.file) {
                droppedFiles_.emplace_back(event.file);
                SDL_free(event.file);
            }
            if (!dropping_) {
                // A back end that sends no begin and complete: each file is its own drop.
                handleDrop(SDL_DropEvent{SDL_DROPCOMPLETE, event.timestamp, nullptr, event.windowID});
            }
            break;
        case SDL_DROPCOMPLETE: {
            dropping_ = false;
            if (droppedFiles_.empty()) break;
            // SDL reports no drop point, and a drag source grabs the pointer, which leaves SDL's
            // own pointer position stale: ask the server where the pointer is.
            Vec2f pos = getMousePos();
            FileDropEvent drop(int(pos.x), int(pos.y), std::move(droppedFiles_));
            droppedFiles_.clear();
            appBasic_->privateFileDrop(drop);
            break;
        }
        default: break;
    }
}

void AppImplSdlBasic::queueTouch(const SDL_TouchFingerEvent& event) {
    if (appBasic_->getSettings().enableMultiTouch) pendingTouches_.push_back(event);
}

void AppImplSdlBasic::flushTouches() {
    if (pendingTouches_.empty()) return;
    std::vector<TouchRecord> records;
    records.reserve(pendingTouches_.size());
    for (const SDL_TouchFingerEvent& finger : pendingTouches_) {
        TouchRecord record;
        record.kind = finger.type == SDL_FINGERDOWN ? TouchRecord::DOWN
                      : finger.type == SDL_FINGERUP ? TouchRecord::UP
                                                    : TouchRecord::MOVE;
        record.device = finger.touchId;
        record.contact = finger.fingerId;
        // SDL gives positions as fractions of the window.
        record.pos = Vec2f(finger.x * float(width_), finger.y * float(height_));
        record.native = &finger;
        records.push_back(record);
    }
    TouchReport report = touchTracker_.process(records, appBasic_->getElapsedSeconds());
    appBasic_->privateSetActiveTouches(touchTracker_.getActiveTouches());
    if (!report.began.empty()) appBasic_->privateTouchesBegan(TouchEvent(std::move(report.began)));
    if (!report.moved.empty()) appBasic_->privateTouchesMoved(TouchEvent(std::move(report.moved)));
    if (!report.ended.empty()) appBasic_->privateTouchesEnded(TouchEvent(std::move(report.ended)));
    pendingTouches_.clear();
}

}  // namespace loom::framework::sdl
