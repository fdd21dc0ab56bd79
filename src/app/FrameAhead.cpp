#include "app/FrameAhead.h"

#include <chrono>

namespace loom::app {

FrameAhead::~FrameAhead() {
    if (running_.valid()) running_.wait();
}

bool FrameAhead::idle() const {
    return !running_.valid() || running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

void FrameAhead::start(std::function<void()> make) {
    if (!idle()) return;
    running_ = std::async(std::launch::async, std::move(make));
}

}  // namespace loom::app
