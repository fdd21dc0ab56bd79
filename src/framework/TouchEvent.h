// TouchEvent: the contacts that went down, moved or lifted together, each with its position and the
// position it had at the previous report.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "framework/Event.h"
#include "math/Vec2.h"

namespace loom::framework {

class TouchEvent : public Event {
public:
    class Touch {
    public:
        Touch() = default;
        Touch(const Vec2f& pos, const Vec2f& prevPos, uint32_t id, double time, const void* native)
            : pos(pos), prevPos(prevPos), id(id), time(time), native(native) {}

        float getX() const { return pos.x; }
        float getY() const { return pos.y; }
        const Vec2f& getPos() const { return pos; }
        const Vec2f& getPrevPos() const { return prevPos; }
        // Never 0; stays the same for one contact from going down to lifting.
        uint32_t getId() const { return id; }
        // Application clock seconds when the report was handled.
        double getTime() const { return time; }
        // The platform's record (SDL's finger event); valid only while the event is
        // dispatched.
        const void* getNative() const { return native; }

        Vec2f pos;
        Vec2f prevPos;
        uint32_t id = 0;
        double time = 0.0;
        const void* native = nullptr;
    };

    TouchEvent() = default;
    explicit TouchEvent(std::vector<Touch> touches) : touches(std::move(touches)) {}

    const std::vector<Touch>& getTouches() const { return touches; }

    std::vector<Touch> touches;
};

}  // namespace loom::framework
