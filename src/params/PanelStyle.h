// The look shared by every control of every panel: margins, sizes and colours. They never change
// at run time.
#pragma once

#include "math/Color.h"
#include "math/Vec2.h"

namespace loom::params {

// Margin of every background strip around its content.
inline constexpr Vec2f inset(3, 3);
// A slider bar's width and height; also every strip's content width, and a box's side (y).
inline constexpr Vec2f sliderSize(125, 10);
// The height of a caption line (x is not used).
inline constexpr Vec2f labelSize(125, 10);
// Added below each control before the next one.
inline constexpr float controlGap = 7;
// Where the first control's content starts, in x and y.
inline constexpr float margin = 7;

inline constexpr ColorA backColor(0, 0, 0, 0.5f);
inline constexpr ColorA emptyColor(0.3f, 0.3f, 0.3f, 1);
inline constexpr ColorA fullColor(1, 1, 1, 1);
inline constexpr ColorA textColor(1, 1, 1, 1);

}  // namespace loom::params
