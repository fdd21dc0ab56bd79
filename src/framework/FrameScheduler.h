// FrameScheduler: when the next frame is due. A frame never starts less than 1/frameRate seconds
// after the previous one started; the next time is counted from when a frame actually started, so a
// late frame moves the schedule and missed frames are not made up.
#pragma once

namespace loom::framework {

class FrameScheduler {
public:
    // A rate of 0 or less puts no limit on the rate.
    explicit FrameScheduler(float frameRate);

    bool isDue(double now) const { return now >= nextFrameTime_; }
    void startFrame(double now) { nextFrameTime_ = now + interval_; }
    // 0 when a frame is due.
    double secondsUntilDue(double now) const;

private:
    double interval_;
    double nextFrameTime_ = -1.0;
};

}  // namespace loom::framework
