#include "framework/Timer.h"

#include <chrono>
#include <utility>

namespace loom::framework {

double Timer::steadyClockSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

Timer::Timer() : source_(steadyClockSeconds) {}

Timer::Timer(bool startOnConstruction, ClockSource source) : source_(std::move(source)) {
    if (startOnConstruction) start();
}

void Timer::start() {
    stopped_ = false;
    startTime_ = source_();
}

void Timer::stop() {
    if (stopped_) return;
    endTime_ = source_();
    stopped_ = true;
}

double Timer::getSeconds() const {
    if (stopped_) return endTime_ - startTime_;
    return source_() - startTime_;
}

}  // namespace loom::framework
