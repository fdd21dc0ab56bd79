#include "app/work/FrameAhead.h"

namespace loom::app {

void FrameAhead::start(std::function<void()> make) {
    if (!idle()) return;
    running_.run(std::move(make));
}

}  // namespace loom::app
