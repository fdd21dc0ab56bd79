#include <gtest/gtest.h>

#include <string>

#include "pipeline/Atlas.h"

using namespace loom;

namespace {

const char* const HASH = R"({"frames": {
  "hero": {"frame": {"x": 0, "y": 0, "w": 4, "h": 3}, "rotated": false, "trimmed": false},
  "arrow": {"frame": {"x": 4, "y": 0, "w": 3, "h": 2}, "rotated": true, "trimmed": false},
  "coin": {"frame": {"x": 0, "y": 3, "w": 2, "h": 2}, "rotated": false, "trimmed": true,
           "spriteSourceSize": {"x": 1, "y": 2, "w": 2, "h": 2}, "sourceSize": {"w": 5, "h": 4}}},
  "meta": {"size": {"w": 7, "h": 5}}})";

const char* const ARRAY = R"({"frames": [
  {"filename": "hero", "frame": {"x": 0, "y": 0, "w": 4, "h": 3}},
  {"filename": "arrow", "frame": {"x": 4, "y": 0, "w": 3, "h": 2}, "rotated": true},
  {"filename": "coin", "frame": {"x": 0, "y": 3, "w": 2, "h": 2}, "trimmed": true,
   "spriteSourceSize": {"x": 1, "y": 2, "w": 2, "h": 2}, "sourceSize": {"w": 5, "h": 4}}],
  "meta": {"size": {"w": 7, "h": 5}}})";

std::string refusal(const std::string& text) {
    try {
        parseAtlas(text);
    } catch (const AtlasExc& e) {
        return e.what();
    }
    return "accepted";
}

std::string refusalOnSheet(const std::string& text, int32_t width, int32_t height, int factor = 2) {
    try {
        framesOnSheet(parseAtlas(text), width, height, factor);
    } catch (const AtlasExc& e) {
        return e.what();
    }
    return "accepted";
}

}  // namespace

TEST(Atlas, HashAndArrayFormsReadAlikeWithRotatedFramesStoredTurned) {
    for (const char* text : {HASH, ARRAY}) {
        const Atlas atlas = parseAtlas(text);
        ASSERT_EQ(atlas.frames.size(), 3u) << text;
        const AtlasFrame& hero = atlas.frames[0];
        EXPECT_EQ(hero.name, "hero");
        EXPECT_EQ(hero.stored, Area(0, 0, 4, 3));
        EXPECT_EQ(hero.spriteWidth, 4);
        const AtlasFrame& arrow = atlas.frames[1];
        EXPECT_EQ(arrow.name, "arrow");
        EXPECT_TRUE(arrow.rotated);
        EXPECT_EQ(arrow.stored, Area(4, 0, 6, 3)) << "an upright 3 x 2 frame is stored 2 x 3";
        EXPECT_EQ(arrow.spriteWidth, 3);
        EXPECT_EQ(arrow.spriteHeight, 2);
        const AtlasFrame& coin = atlas.frames[2];
        EXPECT_EQ(coin.stored, Area(0, 3, 2, 5));
        EXPECT_EQ(coin.spriteWidth, 5);
        EXPECT_EQ(coin.spriteHeight, 4);
        EXPECT_EQ(coin.offsetX, 1);
        EXPECT_EQ(coin.offsetY, 2);
        ASSERT_TRUE(atlas.sheetSize);
        EXPECT_EQ(*atlas.sheetSize, std::make_pair(7, 5));
    }
}

TEST(Atlas, RefusesBrokenAtlasesSayingWhatIsWrong) {
    const std::string frame = R"({"frames": {"a": {"frame": )";
    const std::pair<std::string, std::string> cases[] = {
        {R"({"frames": [)", "not valid JSON"},
        {"[1]", "not an object"},
        {R"({"meta": {}})", "no \"frames\""},
        {R"({"frames": []})", "no frames"},
        {frame + R"({"x": 0, "y": 0, "w": -3, "h": 2}}}})", "frame \"a\" has a size of -3 x 2"},
        {frame + R"({"x": 0, "y": 0, "w": 3, "h": 0}}}})", "size of 3 x 0"},
        {frame + R"({"x": -1, "y": 0, "w": 3, "h": 2}}}})", "negative position"},
        {frame + R"({"x": 0, "y": 0, "w": "3", "h": 2}}}})", "\"w\" is not a whole number"},
        {frame + R"({"x": 0, "y": 0, "w": 2.5, "h": 2}}}})", "\"w\" is not a whole number"},
        {frame + R"({"x": 0, "y": 0, "w": 3}}}})", "has no \"h\""},
        {R"({"frames": {"a": {"frame": 3}}})", "has no \"frame\" object"},
        {frame + R"({"x": 0, "y": 0, "w": 3, "h": 2}, "rotated": "yes"}}})", "not true or false"},
        {frame + R"({"x": 0, "y": 0, "w": 3, "h": 2}, "trimmed": true}}})", "no \"spriteSourceSize\""},
        {frame + R"({"x": 0, "y": 0, "w": 3, "h": 2}, "trimmed": true, "spriteSourceSize":
          {"x": 1, "y": 0, "w": 3, "h": 2}, "sourceSize": {"w": 3, "h": 2}}}})",
         "does not lie inside its sourceSize"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_NE(refusal(text).find(expected), std::string::npos) << text << "\n" << refusal(text);
}

TEST(Atlas, FramesOnTheSheetTouchingItsEdgesAndEachOtherMergingDuplicates) {
    const Atlas atlas = parseAtlas(R"({"frames": {
      "a": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}},
      "b": {"frame": {"x": 3, "y": 0, "w": 3, "h": 3}},
      "a again": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}},
      "corner": {"frame": {"x": 7, "y": 3, "w": 3, "h": 3}},
      "turned": {"frame": {"x": 9, "y": 0, "w": 3, "h": 1}, "rotated": true}}})");
    const std::vector<AtlasFrame> frames = framesOnSheet(atlas, 10, 6, 2);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[2].name, "corner");
}

TEST(Atlas, FramesTouchingInEitherDirectionAndListingOrderAreAccepted) {
    // Each pair shares an edge: the first frame's rectangle, then the second's.
    const std::pair<const char*, const char*> pairs[] = {
        {R"({"x": 1, "y": 0, "w": 3, "h": 2})", R"({"x": 1, "y": 2, "w": 3, "h": 2})"},  // upper first
        {R"({"x": 1, "y": 2, "w": 3, "h": 2})", R"({"x": 1, "y": 0, "w": 3, "h": 2})"},  // lower first
        {R"({"x": 0, "y": 1, "w": 2, "h": 3})", R"({"x": 2, "y": 1, "w": 2, "h": 3})"},  // left first
        {R"({"x": 2, "y": 1, "w": 2, "h": 3})", R"({"x": 0, "y": 1, "w": 2, "h": 3})"},  // right first
        {R"({"x": 0, "y": 0, "w": 2, "h": 2})", R"({"x": 2, "y": 2, "w": 2, "h": 2})"},  // corners
    };
    for (const auto& [first, second] : pairs) {
        const std::string text = std::string(R"({"frames": {"a": {"frame": )") + first +
                                 R"(}, "b": {"frame": )" + second + "}}}";
        EXPECT_EQ(refusalOnSheet(text, 4, 4), "accepted") << text;
    }
}

TEST(Atlas, RefusesFramesOverlappingOrOutsideTheSheetNamingThem) {
    const std::pair<std::string, std::string> cases[] = {
        {R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}},
                        "b": {"frame": {"x": 2, "y": 2, "w": 3, "h": 3}}}})",
         "frame \"a\" and frame \"b\" overlap"},
        {R"({"frames": {"big": {"frame": {"x": 0, "y": 0, "w": 4, "h": 4}},
                        "inside": {"frame": {"x": 1, "y": 1, "w": 1, "h": 1}}}})",
         "frame \"big\" and frame \"inside\" overlap"},
        {R"({"frames": {"c": {"frame": {"x": 8, "y": 0, "w": 3, "h": 3}}}})",
         "frame \"c\" reaches outside the 10 x 6 sheet"},
        // Upright 1 x 3 fits at x 9, but the sheet holds it 3 x 1.
        {R"({"frames": {"t": {"frame": {"x": 9, "y": 0, "w": 1, "h": 3}, "rotated": true}}})",
         "frame \"t\" reaches outside"},
        {R"({"frames": {"a": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}}},
             "meta": {"size": {"w": 20, "h": 12}}})",
         "the atlas is for a sheet of 20 x 12 pixels, the image is 10 x 6"},
        // Sharing one row of pixels is an overlap.
        {R"({"frames": {"up": {"frame": {"x": 0, "y": 0, "w": 3, "h": 3}},
                        "down": {"frame": {"x": 0, "y": 2, "w": 3, "h": 3}}}})",
         "frame \"up\" and frame \"down\" overlap"},
    };
    for (const auto& [text, expected] : cases) {
        const std::string message = refusalOnSheet(text, 10, 6);
        EXPECT_NE(message.find(expected), std::string::npos) << message;
    }
}

// A trimmed frame's sprite is only numbers until it is drawn: enlarged, it must fit the image
// limits (32768 pixels a side, 2^28 in all), checked at the limits' edges.
TEST(Atlas, RefusesASpriteTooLargeOnceEnlargedSayingWhatAndTheLimit) {
    const auto sprite = [](int32_t w, int32_t h) {
        return R"({"frames": {"hero": {"frame": {"x": 0, "y": 0, "w": 4, "h": 4}, "trimmed": true,
                   "spriteSourceSize": {"x": 0, "y": 0, "w": 4, "h": 4}, "sourceSize": {"w": )" +
               std::to_string(w) + R"(, "h": )" + std::to_string(h) + "}}}}";
    };
    const struct {
        int32_t w, h;
        int factor;
        const char* expected;
    } cases[] = {
        {8192, 8192, 2, "accepted"},
        {16384, 4, 2, "accepted"},
        {8192, 8193, 2, "enlarged 2x to 16384 x 16386"},
        {16385, 4, 2, "enlarged 2x to 32770 x 8"},
        {24000, 24000, 2,
         "frame \"hero\": its sprite of 24000 x 24000 pixels (sourceSize), enlarged 2x "
         "to 48000 x 48000, is larger than the largest image (32768 pixels a side, "
         "268435456 pixels in all)"},
        {8192, 8192, 3, "enlarged 3x"},
    };
    for (const auto& c : cases) {
        const std::string message = refusalOnSheet(sprite(c.w, c.h), 4, 4, c.factor);
        EXPECT_NE(message.find(c.expected), std::string::npos) << c.w << " x " << c.h << ": " << message;
    }
}
