// When the upscalers count two pixels as equal.
//   Seen (the default): as a viewer sees them. Two fully transparent pixels (alpha 0) are alike
//     whatever colours they hide; any other pair is alike when colour and alpha both are. A black
//     outline over a transparent background stored as (0, 0, 0, 0) then stays an edge.
//   Colour: colour only, alpha ignored (a transparent pixel matches the colour it hides); the
//     classic rule, which other tools' Scale2x uses.
//   ColourAndAlpha: colour and alpha of every pixel, hidden colours included.
// Pictures without alpha compare by colour under every rule. Whatever the rule, a written pixel is
// a whole copy, alpha included, of the pixel whose colour was chosen.
#pragma once

#include <array>

namespace loom {

enum class PixelMatch { Seen, Colour, ColourAndAlpha };

// The rules' names as the window shows them, in the enum's order.
constexpr std::array<const char*, 3> PIXEL_MATCH_NAMES = {"Seen", "Colour", "RGBA"};

}  // namespace loom
