#include "framework/FrameScheduler.h"

namespace loom::framework {

FrameScheduler::FrameScheduler(float frameRate)
    : interval_(frameRate > 0.0f ? 1.0 / double(frameRate) : 0.0) {}

double FrameScheduler::secondsUntilDue(double now) const {
    return isDue(now) ? 0.0 : nextFrameTime_ - now;
}

}  // namespace loom::framework
