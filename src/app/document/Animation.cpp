#include "app/document/Animation.h"

namespace loom::app {

Animation::Animation(const Surface& first, const ImageSourceRef& source,
                     const std::function<bool()>& abandoned)
    : frames_{first}, delays_{source->getFrameDelayMs()}, loopCount_(source->getLoopCount()) {
    int64_t bytes = int64_t(first.getRowBytes()) * first.getHeight();
    while (bytes <= MAX_FRAME_BYTES && !(abandoned && abandoned()) && source->nextFrame()) {
        frames_.emplace_back(source);
        delays_.push_back(source->getFrameDelayMs());
        bytes += int64_t(frames_.back().getRowBytes()) * frames_.back().getHeight();
    }
}

void Animation::show(int32_t i, double now) {
    const int32_t n = frameCount();
    index_ = ((i % n) + n) % n;
    shownSince_ = now;
}

bool Animation::advance(double now) {
    if (!playing_ || !animated() || now - shownSince_ < playDelaySeconds(index_)) return false;
    // Catch up by whole frames when the window was busy, keeping the animation's pace.
    double since = shownSince_;
    int32_t i = index_;
    while (now - since >= playDelaySeconds(i)) {
        since += playDelaySeconds(i);
        i = (i + 1) % frameCount();
        if (now - since > 10.0) since = now;  // a long stall: start afresh
    }
    index_ = i;
    shownSince_ = since;
    return true;
}

void Animation::togglePlaying(double now) {
    playing_ = !playing_;
    shownSince_ = now;
}

std::string Animation::statusText() const {
    return "Frame " + std::to_string(index_ + 1) + "/" + std::to_string(frameCount()) +
           (playing_ ? "" : ", paused");
}

double Animation::playDelaySeconds(int32_t i) const {
    const int32_t ms = delays_[size_t(i)];
    return (ms < 20 ? 100 : ms) / 1000.0;
}

}  // namespace loom::app
