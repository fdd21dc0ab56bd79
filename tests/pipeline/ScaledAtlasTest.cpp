#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "pipeline/Atlas.h"
#include "pipeline/ScaledAtlas.h"

using namespace loom;
using Json = nlohmann::ordered_json;

namespace {

const char* const FRAME = R"({"frame": {"x": 2, "y": 1, "w": 3, "h": 4}, "rotated": true,
  "trimmed": true, "spriteSourceSize": {"x": 1, "y": 0, "w": 3, "h": 4},
  "sourceSize": {"w": 5, "h": 4}, "pivot": {"x": 0.5, "y": 0.25}, "duration": 100})";

const std::string META = R"("meta": {"app": "exporter", "image": "sheet.png", "format": "RGBA8888",
  "size": {"w": 16, "h": 8}, "scale": "1", "slices": [{"name": "button", "color": "#0000ffff",
  "keys": [{"frame": 3, "bounds": {"x": 1, "y": 2, "w": 6, "h": 5},
            "center": {"x": 2, "y": 2, "w": 2, "h": 1}, "pivot": {"x": 1.5, "y": 4}}]}]})";

// Every key path in document order.
std::vector<std::string> keysInOrder(const Json& value, const std::string& path = "") {
    std::vector<std::string> keys;
    if (value.is_object())
        for (const auto& [key, child] : value.items()) {
            keys.push_back(path + "/" + key);
            for (const std::string& k : keysInOrder(child, path + "/" + key)) keys.push_back(k);
        }
    if (value.is_array())
        for (size_t i = 0; i < value.size(); ++i)
            for (const std::string& k : keysInOrder(value[i], path + "/" + std::to_string(i)))
                keys.push_back(k);
    return keys;
}

}  // namespace

TEST(ScaledAtlas, MultipliesPixelMeasuresOnlyKeepingKeyOrderAndNumberKinds) {
    const std::pair<std::string, std::string> forms[] = {
        {R"({"frames": {"hero": )" + std::string(FRAME) + "}, " + META + "}", "/frames/hero"},
        {R"({"frames": [{"filename": "hero", )" + std::string(FRAME).substr(1) + "], " + META + "}",
         "/frames/0"},
    };
    for (const auto& [text, frame] : forms) {
        const Json original = Json::parse(text);
        const Json scaled = scaledAtlas(original, 3, "sheetScale3x.png");
        EXPECT_EQ(keysInOrder(scaled), keysInOrder(original));
        const std::string key = "/meta/slices/0/keys/0";
        std::set<std::string> multiplied = {"/meta/size/w", "/meta/size/h", key + "/pivot/x",
                                            key + "/pivot/y"};
        for (const char* c : {"x", "y", "w", "h"})
            for (const std::string& rect :
                 {frame + "/frame/", frame + "/spriteSourceSize/", key + "/bounds/", key + "/center/"})
                multiplied.insert(rect + c);
        multiplied.insert({frame + "/sourceSize/w", frame + "/sourceSize/h"});
        const Json leaves = original.flatten();
        for (const auto& [pointer, value] : leaves.items()) {
            const Json& now = scaled.at(Json::json_pointer(pointer));
            if (pointer == "/meta/image")
                EXPECT_EQ(now, "sheetScale3x.png");
            else if (multiplied.count(pointer)) {
                EXPECT_EQ(now.get<double>(), 3 * value.get<double>()) << pointer;
                EXPECT_EQ(now.is_number_integer(), value.is_number_integer()) << pointer;
            } else
                EXPECT_EQ(now, value) << pointer << " stays as it is";
        }
    }
}

TEST(ScaledAtlas, RefusesAMeasureThatIsNotANumber) {
    const Json document = Json::parse(R"({"frames": {}, "meta": {"slices": [{"keys":
        [{"frame": 0, "bounds": {"x": "1", "y": 0, "w": 2, "h": 2}}]}]}})");
    EXPECT_THROW(scaledAtlas(document, 2, "a.png"), AtlasExc);
}

TEST(ScaledAtlas, NamedAsTheResultWithJson) {
    EXPECT_EQ(atlasPathFor("/art/heroScale2x.png"), "/art/heroScale2x.json");
    EXPECT_EQ(atlasPathFor("out/hero.v2Scale3x.webp"), "out/hero.v2Scale3x.json");
}
