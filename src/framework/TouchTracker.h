// TouchTracker: turns the platform's per-contact reports into touch events. It gives every contact
// a non-zero id of its own for as long as it is down (the platform's ids may be 0 or repeat across
// devices), remembers each contact's last position to fill prevPos, and forgets a contact when it
// lifts. Contacts reported moving or lifting that were never seen going down use their current
// position as prevPos.
#pragma once

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "framework/TouchEvent.h"

namespace loom::framework {

struct TouchRecord {
    enum Kind { DOWN, MOVE, UP };
    Kind kind = DOWN;
    int64_t device = 0;  // the platform's device and contact identifiers
    int64_t contact = 0;
    Vec2f pos;
    const void* native = nullptr;
};

struct TouchReport {
    std::vector<TouchEvent::Touch> began;
    std::vector<TouchEvent::Touch> moved;
    std::vector<TouchEvent::Touch> ended;
};

class TouchTracker {
public:
    // One batch of records reported together, handled at application time `time`.
    TouchReport process(const std::vector<TouchRecord>& records, double time);
    // Every contact down after the last batch, in the order they went down, with no native record.
    std::vector<TouchEvent::Touch> getActiveTouches() const;

private:
    using ContactKey = std::pair<int64_t, int64_t>;
    uint32_t takeId();

    std::map<ContactKey, uint32_t> ids_;
    std::map<uint32_t, TouchEvent::Touch> down_;  // by id; ids grow, so this is going-down order
    uint32_t nextId_ = 1;
};

}  // namespace loom::framework
