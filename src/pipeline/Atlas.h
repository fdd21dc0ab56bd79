// A sprite sheet's JSON atlas in the "frames" form sprite-sheet exporters write, the frames given
// as an object keyed by name or as an array of objects with a "filename". Each frame names its
// rectangle in the sheet ("frame"), whether it is stored turned ("rotated") and whether its
// transparent border was cut off ("trimmed", with "spriteSourceSize" and "sourceSize").
//
// Rotation follows the exporters' convention: a rotated frame is stored turned a quarter turn
// clockwise, its "frame" w and h are the upright sprite's, so the sheet holds h x w pixels at x, y.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "base/Exception.h"
#include "math/Rect.h"

namespace loom {

// A broken or unusable atlas; the message names the frame or field at fault.
class AtlasExc : public Exception {
public:
    using Exception::Exception;
};

struct AtlasFrame {
    std::string name;
    Area stored;           // the frame's pixels in the sheet, as stored (turned when rotated)
    bool rotated = false;  // stored a quarter turn clockwise from upright
    // The untrimmed sprite the upright frame sits in, and where: the frame itself when untrimmed.
    int32_t spriteWidth = 0, spriteHeight = 0;
    int32_t offsetX = 0, offsetY = 0;
};

struct Atlas {
    std::string path;                 // the file read, "" for text parsed; framesOnSheet() names it
    nlohmann::ordered_json document;  // as read, keys in the file's order
    std::vector<AtlasFrame> frames;   // in the file's order, duplicates included
    std::optional<std::pair<int32_t, int32_t>> sheetSize;  // meta.size, when given
};

// Throws AtlasExc for text that is not JSON or not such an atlas: no frames, a frame without a
// whole-number rectangle, a size of 0 or less, a negative position, or a trimmed frame that does
// not fit the sprite it was cut from.
Atlas parseAtlas(const std::string& text);

// parseAtlas() of the file, its path kept; AtlasExc, naming the file, when it cannot be read or
// parsed.
Atlas readAtlas(const std::string& path);

// The frames to upscale by factor on a width x height sheet: identical rectangles once (exporters
// store a sprite repeated under several names once). Throws AtlasExc naming the frames when a
// frame reaches outside the sheet or two partly overlap, when a frame's untrimmed sprite enlarged
// by factor would be larger than an image may be (ImageLimits.h), and when meta.size is not the
// sheet's size; the message begins with the atlas's path when it was read from a file. Nothing is
// allocated for a frame's size before it is checked here.
std::vector<AtlasFrame> framesOnSheet(const Atlas& atlas, int32_t width, int32_t height, int factor);

}  // namespace loom
