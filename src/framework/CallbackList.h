// CallbackList: the ordered callables that see an event before the application's own hook does.
// Ids count up from 0 per list. Dispatch walks the list in registration order and stops at the
// first callable that returns true (the event is then consumed).
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace loom::framework {

using CallbackId = int32_t;

template <typename EventT>
class CallbackList {
public:
    using Callback = std::function<bool(EventT)>;

    // The new entry's id: 0 for an empty list, otherwise the last entry's id plus one.
    CallbackId registerCallback(Callback callback) {
        CallbackId id = entries_.empty() ? 0 : entries_.back().first + 1;
        entries_.emplace_back(id, std::move(callback));
        return id;
    }

    // True when a callable consumed the event. An empty callable throws std::bad_function_call.
    bool dispatch(const EventT& event) const {
        for (const auto& entry : entries_)
            if (entry.second(event)) return true;
        return false;
    }

private:
    std::vector<std::pair<CallbackId, Callback>> entries_;
};

}  // namespace loom::framework
