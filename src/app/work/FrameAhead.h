// FrameAhead: runs one piece of work at a time as background work on the shared pool, for making
// an animation's next frame while the shown one plays; the window's own jobs go first. Destruction
// drops a piece not started and waits for the piece under way.
#pragma once

#include <functional>

#include "base/ThreadPool.h"

namespace loom::app {

class FrameAhead {
public:
    bool idle() const { return running_.idle(); }
    // Starts make unless a piece is under way; make must not throw.
    void start(std::function<void()> make);

private:
    TaskGroup running_{TaskPriority::BACKGROUND};
};

}  // namespace loom::app
