#include "framework/TouchTracker.h"

namespace loom::framework {

uint32_t TouchTracker::takeId() {
    uint32_t id = nextId_++;
    if (nextId_ == 0) nextId_ = 1;
    return id;
}

TouchReport TouchTracker::process(const std::vector<TouchRecord>& records, double time) {
    TouchReport report;
    for (const TouchRecord& record : records) {
        ContactKey key(record.device, record.contact);
        auto known = ids_.find(key);
        TouchEvent::Touch touch(record.pos, record.pos, 0, time, record.native);
        if (known != ids_.end()) {
            touch.id = known->second;
            touch.prevPos = down_[touch.id].pos;
        }
        switch (record.kind) {
            case TouchRecord::UP:
                if (known != ids_.end()) {
                    down_.erase(known->second);
                    ids_.erase(known);
                } else {
                    touch.id = takeId();
                }
                report.ended.push_back(touch);
                break;
            case TouchRecord::DOWN:
            case TouchRecord::MOVE:
                if (known == ids_.end()) {
                    touch.id = takeId();
                    ids_.emplace(key, touch.id);
                } else if (record.kind == TouchRecord::DOWN) {
                    // A second down for a contact that never lifted: start it afresh.
                    touch.prevPos = touch.pos;
                }
                (record.kind == TouchRecord::DOWN ? report.began : report.moved).push_back(touch);
                touch.native = nullptr;
                down_[touch.id] = touch;
                break;
        }
    }
    return report;
}

std::vector<TouchEvent::Touch> TouchTracker::getActiveTouches() const {
    std::vector<TouchEvent::Touch> active;
    active.reserve(down_.size());
    for (const auto& entry : down_) active.push_back(entry.second);
    return active;
}

}  // namespace loom::framework
