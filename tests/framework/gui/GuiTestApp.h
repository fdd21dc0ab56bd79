// The base of the framework's GUI tests: an application that quits by itself once the test's
// condition holds (finished()) or after a deadline, plus a runner that drives it from a second
// thread (the X harness in tools/XWindows.h: never SDL calls) while the frame loop runs on this
// one.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "framework/AppBasic.h"
#include "framework/RendererGl.h"

namespace loom::guitest {

class GuiTestApp : public framework::AppBasic {
public:
    explicit GuiTestApp(std::string title) : title_(std::move(title)) {}

    void update() override {
        if (finished()) {
            quit();
        } else if (getElapsedSeconds() > deadlineSeconds) {
            timedOut = true;
            quit();
        }
    }

    // True once the test has seen what it waits for.
    virtual bool finished() { return false; }

    const std::string& title() const { return title_; }

    double deadlineSeconds = 15.0;
    bool timedOut = false;
    // Set by the runner once the driver thread has sent all its input.
    std::shared_ptr<std::atomic<bool>> driverDone = std::make_shared<std::atomic<bool>>(false);

private:
    std::string title_;
};

// Runs app to the end with driver on a second thread, and returns the run's exit status. The app
// is destroyed by the run, so neither the driver nor the test may touch it: the test keeps what it
// needs in objects that outlive it. A driver that throws (a harness action failed) fails the test.
inline int runGuiApp(std::unique_ptr<GuiTestApp> app, int antiAliasing,
                     const std::function<void()>& driver = {}) {
    std::string title = app->title();
    std::shared_ptr<std::atomic<bool>> done = app->driverDone;
    std::thread driverThread;
    if (driver)
        driverThread = std::thread([done, driver] {
            try {
                driver();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "the driver stopped: " << e.what();
            }
            *done = true;
        });
    char arg0[] = "gui_test";
    char* argv[] = {arg0};
    int status = framework::AppBasic::executeLaunch(
        std::move(app), std::make_shared<framework::RendererGl>(antiAliasing), title, 1, argv);
    if (driverThread.joinable()) driverThread.join();
    return status;
}

}  // namespace loom::guitest
