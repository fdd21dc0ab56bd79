// Animation: the frames of an animated picture as the window plays them: each composed frame, its
// delay, which one is shown, and whether it plays. Delays under 20 ms play as 100 ms, as browsers
// do; the animation loops for ever in the window (the file's loop count is kept for saving).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/Surface.h"
#include "io/ImageSource.h"

namespace loom::app {

class Animation {
public:
    // Frames beyond this many bytes of pixels in all are not read: the first ones play.
    static constexpr int64_t MAX_FRAME_BYTES = int64_t(512) << 20;

    Animation() = default;
    // The source's frames from the one it holds on, composed; first is that frame as a surface.
    // Stops reading frames once abandoned() says they are no longer wanted.
    Animation(const Surface& first, const ImageSourceRef& source,
              const std::function<bool()>& abandoned = {});

    int32_t frameCount() const { return int32_t(frames_.size()); }
    bool animated() const { return frames_.size() > 1; }
    int32_t index() const { return index_; }
    const Surface& frame() const { return frames_[size_t(index_)]; }
    const Surface& frameAt(int32_t i) const { return frames_[size_t(i)]; }
    // The delay the file gives frame i, in milliseconds, and the loop count (ImageSource's).
    int32_t fileDelayMs(int32_t i) const { return delays_[size_t(i)]; }
    int32_t loopCount() const { return loopCount_; }
    bool playing() const { return playing_; }

    // Shows frame i (wrapped into range) from now.
    void show(int32_t i, double now);
    // While playing, moves on once the frame's time is up; true when the frame changed.
    bool advance(double now);
    void togglePlaying(double now);
    // "Frame 2/3", and "paused" when it is.
    std::string statusText() const;

private:
    double playDelaySeconds(int32_t i) const;

    std::vector<Surface> frames_;
    std::vector<int32_t> delays_;
    int32_t loopCount_ = -1;
    int32_t index_ = 0;
    bool playing_ = true;
    double shownSince_ = 0.0;
};

}  // namespace loom::app
