// Timer: seconds elapsed on a monotonic clock. The clock source can be replaced, so that code timed
// by it (the frame-rate sampling, the frame schedule) can be tested with a fake clock.
#pragma once

#include <functional>

namespace loom::framework {

class Timer {
public:
    // Returns seconds since an arbitrary fixed origin; never goes backwards.
    using ClockSource = std::function<double()>;
    static double steadyClockSeconds();

    // A stopped timer that reads 0 until started.
    Timer();
    // startOnConstruction: begin counting at once.
    explicit Timer(bool startOnConstruction, ClockSource source = steadyClockSeconds);

    void start();
    void stop();
    bool isStopped() const { return stopped_; }
    // Seconds since start(); frozen at the stop time when stopped.
    double getSeconds() const;

private:
    ClockSource source_;
    bool stopped_ = true;
    double startTime_ = -1.0;
    double endTime_ = -1.0;
};

}  // namespace loom::framework
