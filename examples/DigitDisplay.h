// Numbers drawn as blocky seven-segment digits from filled rectangles, so the demo can show its
// frame rate without a font.
#pragma once

#include <string>

#include "math/Vec2.h"

namespace loom::demo {

// Draws the digits and dots of text with its top-left corner at pos, each segment `thickness`
// pixels wide and each digit 2 x `thickness` + `length` pixels wide. Other characters leave a gap.
void drawDigits(const std::string& text, const Vec2f& pos, float length, float thickness);

}  // namespace loom::demo
