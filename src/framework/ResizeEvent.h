// ResizeEvent: the window's new client size in pixels.
#pragma once

#include "framework/Event.h"

namespace loom::framework {

class ResizeEvent : public Event {
public:
    ResizeEvent() = default;
    ResizeEvent(int width, int height) : width(width), height(height) {}

    int getWidth() const { return width; }
    int getHeight() const { return height; }

    int width = 0;
    int height = 0;
};

}  // namespace loom::framework
