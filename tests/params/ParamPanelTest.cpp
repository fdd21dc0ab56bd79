// The panel without a window: creation, layout, and the routing of presses, drags and releases
// between its controls and the application.
#include <gtest/gtest.h>

#include "RecordingApp.h"
#include "params/ParamPanel.h"

using namespace loom;
using namespace loom::params;

namespace {

// The application's panel: a label, the zoom slider, eight upscaler and three transform radio
// buttons between two more labels, and the performance label.
struct AppPanel {
    RecordingApp app;
    ParamPanel panel{&app};
    float zoom = 0;
    int upscaler = -1;
    int transform = -1;
    LabelControl* perf = nullptr;

    AppPanel() {
        panel.addLabel("View");
        panel.addFloatParam("Zoom", &zoom, 1, 10, 4);
        panel.addLabel("1. Upscaling");
        panel.addRadioGroup(
            {"None", "Scale2x", "Scale3x", "Scale4x", "Eagle2x", "Scale2xHQ", "Scale3xHQ", "Scale4xHQ"},
            &upscaler, 0);
        panel.addLabel("2. Transform");
        panel.addRadioGroup({"None", "Projective", "Bilinear"}, &transform, 0);
        perf = panel.addLabel("Perf: 0 ms");
        panel.layout();
    }
};

}  // namespace

TEST(ParamPanel, CreationLoadsThePixelFontAndRegistersThreeCallbacks) {
    RecordingApp app;
    ParamPanel panel(&app);
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_TRUE(panel.getControls().empty());
    EXPECT_EQ(panel.getCapturedControl(), nullptr);
    EXPECT_EQ(panel.getMouseDownCallbackId(), 0);
    EXPECT_EQ(panel.getMouseUpCallbackId(), 0);
    EXPECT_EQ(panel.getMouseDragCallbackId(), 0);
    ASSERT_TRUE(ParamPanel::getFont());
    EXPECT_EQ(ParamPanel::getFont().getName(), "Quennet Pixel");
    EXPECT_FLOAT_EQ(ParamPanel::getFont().getEmPixels(), 7.5f);
}

TEST(ParamPanel, AddOperationsOwnTheControlsInOrder) {
    AppPanel p;
    ASSERT_EQ(p.panel.getControls().size(), 16u);
    for (const auto& c : p.panel.getControls()) EXPECT_EQ(c->getOwner(), &p.panel);
    EXPECT_EQ(p.zoom, 4.0f);
    EXPECT_EQ(p.upscaler, 0);
    EXPECT_EQ(p.panel.getControls().back().get(), p.perf);
}

TEST(ParamPanel, LayoutStacksTheColumnFromSevenSeven) {
    AppPanel p;
    const auto& c = p.panel.getControls();
    EXPECT_EQ(c[1]->getHitArea(), Rectf(7, 37, 132, 47)) << "the zoom bar";
    const float boxTops[] = {71, 88, 105, 122, 139, 156, 173, 190, 224, 241, 258};
    int box = 0;
    for (const auto& control : c) {
        if (control->getKind() != Control::RADIO_BUTTON) continue;
        EXPECT_EQ(control->getHitArea(), Rectf(7, boxTops[box], 17, boxTops[box] + 10))
            << control->getCaption();
        ++box;
    }
    EXPECT_EQ(box, 11);
    // From the first strip's corner to the bottom of the last strip, the Perf label's at y 275.
    EXPECT_EQ(p.panel.getBounds(), Rectf(4, 4, 135, LabelControl::stripFor(Vec2f(7, 275)).y2));
}

TEST(ParamPanel, PressesOnTheBarsEdgesHitIt) {
    AppPanel p;
    p.app.press(7, 37);
    EXPECT_EQ(p.zoom, 1.0f);
    p.app.release(7, 37);
    p.app.press(132, 47);
    EXPECT_EQ(p.zoom, 10.0f);
    p.app.release(132, 47);
    EXPECT_TRUE(p.app.seen.empty()) << "presses and releases on the bar are consumed";
}

TEST(ParamPanel, PressesOnLabelsAndElsewhereReachTheApplication) {
    AppPanel p;
    p.app.press(50, 10);  // inside the strip of "View"
    p.app.drag(60, 12);
    p.app.release(60, 12);
    p.app.press(0, 0);  // a label's all-zero hit area catches nothing
    p.app.release(0, 0);
    p.app.press(300, 300);
    const std::vector<std::string> expected = {"down 50,10", "drag 60,12", "up 60,12",
                                               "down 0,0",   "up 0,0",     "down 300,300"};
    EXPECT_EQ(p.app.seen, expected);
    EXPECT_EQ(p.panel.getCapturedControl(), nullptr);
}

TEST(ParamPanel, APressedControlTakesEveryDragUntilTheRelease) {
    AppPanel p;
    p.app.press(10, 241);  // the second transform box
    EXPECT_EQ(p.transform, 1);
    p.app.drag(1000, 900);
    p.app.release(1000, 900);
    EXPECT_TRUE(p.app.seen.empty()) << "the application sees none of the three events";
    EXPECT_EQ(p.transform, 1) << "selected once, on the press";
    EXPECT_EQ(p.panel.getCapturedControl(), nullptr);

    p.app.press(60, 40);  // on the zoom bar
    p.app.drag(1000, 900);
    EXPECT_EQ(p.zoom, 10.0f);
    p.app.drag(-5, 0);
    EXPECT_EQ(p.zoom, 1.0f);
    p.app.drag(1000, 40);
    EXPECT_EQ(p.zoom, 10.0f) << "still captured far outside the panel";
    p.app.release(1000, 40);
    p.app.drag(20, 40);
    EXPECT_EQ(p.zoom, 10.0f) << "after the release drags go to the application";
    EXPECT_EQ(p.app.seen, std::vector<std::string>{"drag 20,40"});
}

TEST(ParamPanel, ADisabledPanelPassesEverythingOn) {
    AppPanel p;
    p.panel.setEnabled(false);
    p.app.press(60, 40);
    p.app.drag(70, 40);
    p.app.release(70, 40);
    EXPECT_EQ(p.zoom, 4.0f);
    EXPECT_EQ(p.app.seen.size(), 3u);
}

TEST(ParamPanel, CallbacksOutlivingThePanelDeclineEvents) {
    RecordingApp app;
    float zoom = 0;
    {
        ParamPanel panel(&app);
        panel.addFloatParam("Zoom", &zoom, 1, 10, 4);
        panel.layout();
    }
    app.press(60, 17);
    EXPECT_EQ(zoom, 4.0f);
    EXPECT_EQ(app.seen, std::vector<std::string>{"down 60,17"});
}
