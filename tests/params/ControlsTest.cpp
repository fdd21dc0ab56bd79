// The controls' own logic, without drawing: construction, layout geometry, the slider's
// arithmetic, check boxes, radio groups of bools and of one int, and the value text.
#include <gtest/gtest.h>

#include <cmath>

#include "RecordingApp.h"
#include "params/ParamPanel.h"
#include "params/ValueFromText.h"

using namespace loom;
using namespace loom::params;

namespace {

framework::MouseEvent at(int x, int y) { return framework::MouseEvent(0, x, y, 0, 0.0f, 0); }

}  // namespace

TEST(FloatVarControl, ConstructionWritesTheClampedInitialValue) {
    float v = 3;
    FloatVarControl inside("Zoom", &v, 1, 10, 4);
    EXPECT_EQ(v, 4.0f) << "overwrites what the variable held";
    FloatVarControl above("Zoom", &v, 1, 10, 12);
    EXPECT_EQ(v, 10.0f);
    FloatVarControl below("Zoom", &v, 1, 10, -1);
    EXPECT_EQ(v, 1.0f);
    EXPECT_EQ(inside.getKind(), Control::FLOAT_VAR);
    EXPECT_EQ(inside.getHitArea(), Rectf()) << "no hit area before the first layout";
}

TEST(FloatVarControl, GeometryAtItsPosition) {
    float v = 0;
    FloatVarControl slider("Zoom", &v, 1, 10, 4);
    EXPECT_EQ(slider.place(Vec2f(7, 24)), Vec2f(7, 54)) << "a slider advances 30";
    EXPECT_EQ(slider.getHitArea(), Rectf(7, 37, 132, 47)) << "the bar";
    EXPECT_EQ(FloatVarControl::stripFor(Vec2f(7, 24)), Rectf(4, 21, 135, 50));
    // 4 on [1, 10] is a third of the bar.
    EXPECT_EQ(slider.fillFor(slider.getHitArea()), Rectf(7, 37, 7 + 125.0f * 3.0f / 9.0f, 47));
    v = 15;  // set by the program beyond the range
    EXPECT_EQ(slider.fillFor(slider.getHitArea()), Rectf(7, 37, 132, 47));
    v = 0.5f;
    EXPECT_EQ(slider.fillFor(slider.getHitArea()), Rectf(7, 37, 7, 47));
}

TEST(FloatVarControl, APressJumpsToThePointerClampedToTheBar) {
    float v = 0;
    FloatVarControl slider("Zoom", &v, 1, 10, 4);
    slider.place(Vec2f(7, 24));  // bar from x 7 to 132
    const struct {
        int x;
        float expected;
    } cases[] = {{7, 1.0f}, {132, 10.0f}, {32, 2.8f}, {300, 10.0f}, {0, 1.0f}};
    for (const auto& c : cases) {
        slider.onMouseDown(at(c.x, 500));  // y does not matter
        EXPECT_FLOAT_EQ(v, c.expected) << "press at x = " << c.x;
    }
}

TEST(FloatVarControl, DragsFollowThePointerAndAnUnchangedValueIsNotWritten) {
    float v = 0;
    FloatVarControl slider("Zoom", &v, 0, 10, 0);
    slider.place(Vec2f(7, 24));
    slider.onMouseDown(at(20, 40));
    const float afterPress = v;
    slider.onMouseDrag(at(40, 40));
    const float afterFirst = v;
    slider.onMouseDrag(at(60, 40));
    EXPECT_LT(afterPress, afterFirst);
    EXPECT_LT(afterFirst, v);
    EXPECT_FLOAT_EQ(v, 10.0f * 53.0f / 125.0f);

    // -0 equals the computed +0, so only a write would clear the sign bit.
    v = -0.0f;
    slider.onMouseDrag(at(-50, 40));
    EXPECT_TRUE(std::signbit(v)) << "a value that does not change is not written";
}

TEST(LevelSliderControl, APressPicksTheNearestLevelAndTheCaptionNamesIt) {
    int index = -1;
    LevelSliderControl slider("Zoom", &index, {"1/2", "1", "2", "3", "4"}, 9);
    EXPECT_EQ(index, 4) << "the initial index is held within the levels";
    EXPECT_EQ(slider.getKind(), Control::LEVEL_VAR);
    EXPECT_EQ(slider.place(Vec2f(7, 24)), Vec2f(7, 54)) << "placed as a FloatVarControl";
    // Bar from x 7 to 132: level i at 7 + 125 * i / 4; 2.5 levels is x 85.1.
    const struct {
        int x;
        int expected;
    } cases[] = {{7, 0}, {132, 4}, {85, 2}, {86, 3}, {300, 4}, {0, 0}};
    for (const auto& c : cases) {
        slider.onMouseDown(at(c.x, 500));
        EXPECT_EQ(index, c.expected) << "press at x = " << c.x;
    }
    index = 0;
    EXPECT_EQ(slider.shownCaption(), "Zoom: 1/2");
    index = 7;  // set by the program beyond the list
    EXPECT_EQ(slider.valueText(), "4");
}

TEST(BoolVarControl, GeometryAtItsPosition) {
    bool b = false;
    BoolVarControl box("Scale2x", &b, true, 1);
    EXPECT_TRUE(b) << "the initial value is written";
    EXPECT_EQ(box.getKind(), Control::BOOL_VAR);
    EXPECT_EQ(box.place(Vec2f(7, 71)), Vec2f(7, 88)) << "a box advances 17";
    EXPECT_EQ(box.getHitArea(), Rectf(7, 71, 17, 81));
    EXPECT_EQ(BoolVarControl::stripFor(Vec2f(7, 71)), Rectf(4, 68, 135, 84));
    EXPECT_EQ(BoolVarControl::captionPosFor(Vec2f(7, 71)), Vec2f(23, 71));
}

TEST(LabelControl, AdvancesAndNeverTakesAHitArea) {
    LabelControl label("View");
    EXPECT_EQ(label.getKind(), Control::LABEL);
    EXPECT_EQ(label.place(Vec2f(7, 7)), Vec2f(7, 24));
    EXPECT_EQ(label.getHitArea(), Rectf());
    EXPECT_EQ(LabelControl::stripFor(Vec2f(7, 7)), Rectf(4, 4, 135, 20));
    label.setCaption("Perf: 12 ms");
    EXPECT_EQ(label.getCaption(), "Perf: 12 ms");
    EXPECT_EQ(label.valueText(), "");
}

TEST(BoolVarControl, ACheckBoxTogglesOnEveryPress) {
    RecordingApp app;
    ParamPanel panel(&app);
    bool b = false;
    BoolVarControl* box = panel.addBoolParam("Grid", &b, false, -1);
    for (bool expected : {true, false, true}) {
        box->onMouseDown(at(0, 0));
        EXPECT_EQ(b, expected);
    }
}

TEST(BoolVarControl, RadioGroupsSelectOneAndStayIndependent) {
    RecordingApp app;
    ParamPanel panel(&app);
    bool g1[3], g2[2];
    BoolVarControl* first = panel.addBoolParam("a", &g1[0], true, 1);
    panel.addBoolParam("b", &g1[1], false, 1);
    BoolVarControl* third = panel.addBoolParam("c", &g1[2], false, 1);
    BoolVarControl* other = panel.addBoolParam("x", &g2[0], false, 2);
    panel.addBoolParam("y", &g2[1], true, 2);

    third->onMouseDown(at(0, 0));
    EXPECT_FALSE(g1[0]);
    EXPECT_FALSE(g1[1]);
    EXPECT_TRUE(g1[2]);
    EXPECT_FALSE(g2[0]) << "group 2 is untouched by group 1";
    EXPECT_TRUE(g2[1]);

    third->onMouseDown(at(0, 0));
    EXPECT_TRUE(g1[2]) << "a radio button that is on stays on";
    EXPECT_FALSE(g1[0]);

    other->onMouseDown(at(0, 0));
    EXPECT_TRUE(g2[0]);
    EXPECT_FALSE(g2[1]);
    EXPECT_TRUE(g1[2]) << "group 1 is untouched by group 2";
    (void)first;
}

TEST(RadioButtonControl, AGroupBoundToAnIntSelectsByPressAndShowsTheIntsValue) {
    RecordingApp app;
    ParamPanel panel(&app);
    int g1 = -1, g2 = -1;
    const std::vector<RadioButtonControl*> boxes = panel.addRadioGroup({"a", "b", "c"}, &g1, 1);
    panel.addRadioGroup({"x", "y"}, &g2, 0);
    EXPECT_EQ(g1, 1) << "the initial selection is written";
    const auto shown = [&] {
        std::string on;
        for (const RadioButtonControl* box : boxes) on += box->isOn() ? '1' : '0';
        return on;
    };
    EXPECT_EQ(shown(), "010");

    boxes[2]->onMouseDown(at(0, 0));
    EXPECT_EQ(g1, 2);
    EXPECT_EQ(shown(), "001");
    boxes[2]->onMouseDown(at(0, 0));
    EXPECT_EQ(g1, 2) << "a box that is on stays on";
    EXPECT_EQ(g2, 0) << "the other group is untouched";

    g1 = 0;  // set from outside, as the pipeline does after a failure
    EXPECT_EQ(shown(), "100");
}

TEST(ValueText, ConvertsBothWaysAndRefusesBadText) {
    float f = 0;
    FloatVarControl slider("Zoom", &f, 1, 10, 4);
    EXPECT_EQ(slider.valueText(), "4");
    slider.setValueText("2.5");
    EXPECT_EQ(f, 2.5f);
    EXPECT_EQ(slider.valueText(), "2.5");
    f = 1.0f / 3.0f;
    EXPECT_EQ(slider.valueText(), "0.333333") << "6 significant digits";

    bool b = false;
    BoolVarControl box("On", &b, true, -1);
    EXPECT_EQ(box.valueText(), "1");
    box.setValueText("0");
    EXPECT_FALSE(b);

    try {
        slider.setValueText("2.5x");
        FAIL() << "text that is not a whole float must not convert";
    } catch (const BadLexicalCast& e) {
        EXPECT_STREQ(e.what(), "bad lexical cast: source type value could not be interpreted as target");
    }
    EXPECT_EQ(f, 1.0f / 3.0f) << "a failed conversion writes nothing";
    EXPECT_THROW(box.setValueText("true"), BadLexicalCast);
    EXPECT_FALSE(b);
}

// What the text conversion took before it was our own, and what it refused: its edges.
TEST(ValueText, TakesAndRefusesWhatTheControlsAlwaysDid) {
    const std::pair<const char*, float> floats[] = {{"+1", 1.0f},
                                                    {".5", 0.5f},
                                                    {"1.", 1.0f},
                                                    {"-.5", -0.5f},
                                                    {"1e3", 1e3f},
                                                    {"1E+3", 1e3f},
                                                    {"1e-45", 1e-45f},
                                                    {"1e-50", 0.0f},
                                                    {"INF", HUGE_VALF},
                                                    {"-infinity", -HUGE_VALF},
                                                    {"3.4028235e38", 3.4028235e38f}};
    for (const auto& [text, value] : floats) EXPECT_EQ(floatFromText(text), value) << text;
    EXPECT_TRUE(std::signbit(floatFromText("-1e-400"))) << "an underflow keeps its sign";
    EXPECT_EQ(floatFromText("1e-5000"), 0.0f) << "below even the wider type";
    for (const char* text : {"nan", "-NaN", "+nan", "nan(1)"})
        EXPECT_TRUE(std::isnan(floatFromText(text))) << text;
    for (const char* text : {"", " 1", "1 ", "+", ".", "++1", "+-1", "1e", "1,5", "0x10", "infx",
                             "3.4028236e38", "1e40", "-1e40"})
        EXPECT_THROW(floatFromText(text), BadLexicalCast) << text;

    for (const char* text : {"1", "+1", "01", "001"}) EXPECT_TRUE(boolFromText(text)) << text;
    for (const char* text : {"0", "-0", "+0", "00"}) EXPECT_FALSE(boolFromText(text)) << text;
    for (const char* text : {"", "true", " 1", "1 ", "-1", "2", "10", "0x1", "1.0", "+-1"})
        EXPECT_THROW(boolFromText(text), BadLexicalCast) << text;
}
