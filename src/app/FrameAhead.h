// FrameAhead: runs one piece of work at a time on a thread of its own, for making an animation's
// next frame while the shown one plays. Destruction waits for the piece under way.
#pragma once

#include <functional>
#include <future>

namespace loom::app {

class FrameAhead {
public:
    FrameAhead() = default;
    ~FrameAhead();
    FrameAhead(const FrameAhead&) = delete;
    FrameAhead& operator=(const FrameAhead&) = delete;

    bool idle() const;
    // Starts make unless a piece is under way; make must not throw.
    void start(std::function<void()> make);

private:
    std::future<void> running_;
};

}  // namespace loom::app
