// Settings defaults, the launch that ends before any window, a whole run on the do-nothing back
// end, the frame-rate sampling and the frame schedule on a fake clock, and the executable's
// directory.
#include <gtest/gtest.h>

#include "HeadlessRenderer.h"
#include "TestApps.h"
#include "framework/FrameScheduler.h"

using namespace loom;
using namespace loom::framework;
using loom::testapps::FakeClock;
using loom::testapps::RecordingApp;

TEST(Settings, DefaultsAreAResizable640By480WindowAt60FramesPerSecond) {
    AppBasic::Settings settings;
    EXPECT_FALSE(settings.shouldQuit);
    EXPECT_EQ(settings.windowWidth, 640);
    EXPECT_EQ(settings.windowHeight, 480);
    EXPECT_FALSE(settings.fullScreen);
    EXPECT_EQ(settings.frameRate, 60.0f);
    EXPECT_TRUE(settings.resizable);
    EXPECT_FALSE(settings.preventScreenSaver);
    EXPECT_EQ(settings.title, "");
    EXPECT_FALSE(settings.enableMultiTouch);
    EXPECT_EQ(settings.fullScreenWidth, 0);
    EXPECT_EQ(settings.fullScreenHeight, 0);
    EXPECT_EQ(settings.display, nullptr) << "null stands for the main display";
}

namespace {

// What the quitting application saw, kept by the test since the run destroys the application.
struct QuitReport {
    std::string title;
    std::vector<std::string> args;
    bool wasInstance = false;
    bool setupRan = false;
    bool destroyed = false;
};

// Ends in prepareSettings.
class QuittingApp : public RecordingApp {
public:
    explicit QuittingApp(QuitReport* report) : report_(report) {}
    ~QuittingApp() override { report_->destroyed = true; }

    void prepareSettings(Settings* settings) override {
        report_->title = settings->title;
        report_->args = getArgs();
        report_->wasInstance = App::get() == this && AppBasic::get() == this;
        settings->shouldQuit = true;
    }
    void setup() override { report_->setupRan = true; }

private:
    QuitReport* report_;
};

// Fails every window: reaching it would make the run return 1.
class NoWindowRenderer : public Renderer {
public:
    NativeWindow* setup(App*, const WindowRequest&) override { return nullptr; }
    NativeWindow* getWindow() const override { return nullptr; }
    const std::string& getError() const override { return error_; }
    Surface copyWindowSurface(const Area&) override { return Surface(); }

private:
    std::string error_ = "no window in this test";
};

}  // namespace

TEST(Launch, ShouldQuitEndsTheProgramBeforeAnyWindowOrSetup) {
    QuitReport report;
    char arg0[] = "/opt/prog";
    char arg1[] = "b\xc3\xa4r.png";
    char* argv[] = {arg0, arg1};
    int status = AppBasic::executeLaunch(std::make_unique<QuittingApp>(&report),
                                         std::make_shared<NoWindowRenderer>(), "QuennetApp", 2, argv);
    EXPECT_EQ(status, 0);
    EXPECT_FALSE(report.setupRan);
    EXPECT_TRUE(report.destroyed) << "the run destroys the application";
    EXPECT_EQ(report.title, "QuennetApp");
    EXPECT_EQ(report.args, (std::vector<std::string>{"/opt/prog", "b\xc3\xa4r.png"}));
    EXPECT_TRUE(report.wasInstance);
    EXPECT_EQ(App::get(), nullptr) << "no instance once the run is over";
    EXPECT_EQ(AppBasic::get(), nullptr);
}

namespace {

// Logs every step of its run, and quits at its twelfth update. Drawing on demand, it asks for a
// redraw at its fifth update only.
class RunLogApp : public AppBasic {
public:
    RunLogApp(std::vector<std::string>* log, std::vector<double>* updateTimes,
              bool redrawOnDemand = false)
        : log_(log), updateTimes_(updateTimes), redrawOnDemand_(redrawOnDemand) {}
    ~RunLogApp() override { log_->push_back("destroyed"); }

    void prepareSettings(Settings* settings) override { settings->redrawOnDemand = redrawOnDemand_; }
    void setup() override { log_->push_back("setup"); }
    void resize(ResizeEvent e) override {
        log_->push_back("resize " + std::to_string(e.getWidth()) + "x" + std::to_string(e.getHeight()));
    }
    void update() override {
        log_->push_back("update");
        updateTimes_->push_back(getElapsedSeconds());
        if (updateTimes_->size() == 5) requestRedraw();
        if (updateTimes_->size() == 12) quit();
    }
    void draw() override { log_->push_back("draw"); }
    void shutdown() override { log_->push_back("shutdown"); }

private:
    std::vector<std::string>* log_;
    std::vector<double>* updateTimes_;
    bool redrawOnDemand_;
};

}  // namespace

TEST(Run, SetupFirstResizeFramesShutdownAndDestructionComeInOrder) {
    std::vector<std::string> log;
    std::vector<double> updateTimes;
    char arg0[] = "run";
    char* argv[] = {arg0};
    ASSERT_EQ(AppBasic::executeLaunch(std::make_unique<RunLogApp>(&log, &updateTimes),
                                      std::make_shared<loom::testapps::HeadlessRenderer>(),
                                      "headless run", 1, argv),
              0);

    // Every frame is an update then a draw; quitting in an update still draws that frame.
    std::vector<std::string> expected = {"setup", "resize 640x480"};
    for (int frame = 0; frame < 12; ++frame) expected.insert(expected.end(), {"update", "draw"});
    expected.insert(expected.end(), {"shutdown", "destroyed"});
    EXPECT_EQ(log, expected);
    // The schedule itself is checked exactly on a fake clock below; here the update's own clock
    // reading trails the frame's start by a varying moment, so only the whole run's pace is checked.
    ASSERT_EQ(updateTimes.size(), 12u);
    EXPECT_GE(updateTimes.back() - updateTimes.front(), 11.0 / 60.0 - 0.005)
        << "twelve frames are held to the 60 fps rate";
    EXPECT_EQ(App::get(), nullptr);
}

TEST(Run, OnDemandOnlyTheFirstFrameAndRequestedOnesAreDrawn) {
    std::vector<std::string> log;
    std::vector<double> updateTimes;
    char arg0[] = "run";
    char* argv[] = {arg0};
    ASSERT_EQ(AppBasic::executeLaunch(std::make_unique<RunLogApp>(&log, &updateTimes, true),
                                      std::make_shared<loom::testapps::HeadlessRenderer>(),
                                      "headless run", 1, argv),
              0);

    std::vector<std::string> expected = {"setup", "resize 640x480", "update", "draw"};
    for (int frame = 2; frame <= 12; ++frame) {
        expected.push_back("update");
        if (frame == 5) expected.push_back("draw");
    }
    expected.insert(expected.end(), {"shutdown", "destroyed"});
    EXPECT_EQ(log, expected);
}

TEST(FrameRate, FirstSampleComesAtTheFirstUpdateMoreThanASecondAfterStart) {
    FakeClock clock;
    RecordingApp app(clock.source());
    for (int frame = 1; frame <= 60; ++frame) {
        clock.set(frame / 60.0);
        app.privateUpdate();
    }
    EXPECT_EQ(app.getElapsedFrames(), 60u);
    EXPECT_EQ(app.getAverageFps(), 0.0f) << "exactly 1.0 s is not more than the interval";

    clock.set(1.05);
    app.privateUpdate();
    EXPECT_FLOAT_EQ(app.getAverageFps(), float(61 / 1.05));

    // 30 more frames over the next 1.5 s: measured once, when the interval is exceeded.
    for (int frame = 1; frame <= 30; ++frame) {
        clock.set(1.05 + frame * 0.05);
        app.privateUpdate();
    }
    EXPECT_FLOAT_EQ(app.getAverageFps(), float(21 / (2.1 - 1.05)))
        << "sampled at the 21st frame (t = 2.1 s), not since";
    EXPECT_EQ(std::count(app.log.begin(), app.log.end(), "update"), 91);
}

TEST(FrameSchedule, FramesStartNoSoonerThanOneIntervalAfterThePreviousStart) {
    FrameScheduler schedule(50.0f);  // 20 ms
    EXPECT_TRUE(schedule.isDue(0.0)) << "the first frame starts at once";
    schedule.startFrame(1.000);
    EXPECT_FALSE(schedule.isDue(1.019));
    EXPECT_NEAR(schedule.secondsUntilDue(1.015), 0.005, 1e-9);
    EXPECT_TRUE(schedule.isDue(1.020));

    // A frame that starts 35 ms late moves the schedule; the missed frame is not made up.
    schedule.startFrame(1.055);
    EXPECT_FALSE(schedule.isDue(1.070));
    EXPECT_TRUE(schedule.isDue(1.075));
    EXPECT_EQ(schedule.secondsUntilDue(2.0), 0.0);

    FrameScheduler unlimited(0.0f);
    unlimited.startFrame(5.0);
    EXPECT_TRUE(unlimited.isDue(5.0)) << "no rate, no limit";
}

TEST(Timer, CountsFromStartAndFreezesWhenStopped) {
    FakeClock clock;
    clock.set(100.0);
    Timer timer(true, clock.source());
    clock.set(102.5);
    EXPECT_DOUBLE_EQ(timer.getSeconds(), 2.5);
    timer.stop();
    clock.set(110.0);
    EXPECT_TRUE(timer.isStopped());
    EXPECT_DOUBLE_EQ(timer.getSeconds(), 2.5);
    EXPECT_EQ(Timer().getSeconds(), 0.0) << "a timer never started reads 0";
}

TEST(AppPath, IsTheExecutablesDirectoryWithATrailingSlash) {
    RecordingApp app;
    std::string path = app.getAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), '/');
    EXPECT_EQ(path, std::string(LOOM_BINARY_DIR) + "/tests/framework/");
}
