// The atlas of an upscaled sheet: the sheet's atlas with its pixel measures multiplied, written
// beside the result under the result's name.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace loom {

// The document with every measure in sheet pixels multiplied by factor: each frame's "frame",
// "spriteSourceSize" and "sourceSize", meta "size", and the "bounds", "center" and "pivot" of
// meta "slices" keys (pixels within the slice). A frame's own "pivot" or "anchor" is a fraction
// of the sprite (0.5 for its middle) and stays as it is. meta "image", when there, becomes imageName;
// every other field, and the order of the keys, is kept. Whole numbers stay whole. Throws AtlasExc when
// a measure is not a number.
nlohmann::ordered_json scaledAtlas(const nlohmann::ordered_json& document, int factor,
                                   const std::string& imageName);

// The atlas's path beside a result: its name with .json for its extension (heroScale2x.png gives
// heroScale2x.json).
std::string atlasPathFor(const std::string& resultPath);

}  // namespace loom
