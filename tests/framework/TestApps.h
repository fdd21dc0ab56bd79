// Small applications for the framework's pure-logic tests: they record what reaches their hooks
// and read a clock the test sets by hand.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/AppBasic.h"

namespace loom::testapps {

// A clock the test moves by hand, shared with the application that reads it.
struct FakeClock {
    std::shared_ptr<double> now = std::make_shared<double>(0.0);
    framework::Timer::ClockSource source() const {
        auto shared = now;
        return [shared] { return *shared; };
    }
    void set(double seconds) { *now = seconds; }
};

// Records the name of every hook it sees, in order.
class RecordingApp : public framework::AppBasic {
public:
    explicit RecordingApp(framework::Timer::ClockSource clock = framework::Timer::steadyClockSeconds)
        : AppBasic(std::move(clock)) {}

    void mouseDown(framework::MouseEvent) override { log.push_back("mouseDown"); }
    void mouseUp(framework::MouseEvent) override { log.push_back("mouseUp"); }
    void mouseWheel(framework::MouseEvent) override { log.push_back("mouseWheel"); }
    void mouseMove(framework::MouseEvent) override { log.push_back("mouseMove"); }
    void mouseDrag(framework::MouseEvent) override { log.push_back("mouseDrag"); }
    void keyDown(framework::KeyEvent) override { log.push_back("keyDown"); }
    void keyUp(framework::KeyEvent) override { log.push_back("keyUp"); }
    void resize(framework::ResizeEvent) override { log.push_back("resize"); }
    void fileDrop(framework::FileDropEvent) override { log.push_back("fileDrop"); }
    void touchesBegan(framework::TouchEvent) override { log.push_back("touchesBegan"); }
    void touchesMoved(framework::TouchEvent) override { log.push_back("touchesMoved"); }
    void touchesEnded(framework::TouchEvent) override { log.push_back("touchesEnded"); }
    void update() override { log.push_back("update"); }

    std::vector<std::string> log;
};

}  // namespace loom::testapps
