// Text on the CPU: one line of text measured with its font and drawn, anti-aliased, into a fresh
// transparent surface. The surface then goes to the screen as a texture (gl/DrawString.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gl/Font.h"
#include "image/Surface.h"
#include "math/Color.h"

namespace loom {
namespace gl {

// One piece of text in one font and colour; the numbers are filled in by measureLine.
struct TextRun {
    std::string text;
    Font font;
    ColorA color;
    std::u16string wideText;
    float width = 0.0f;
    float descent = 0.0f;
    float leading = 0.0f;
    float ascent = 0.0f;
};

struct TextLine {
    std::vector<TextRun> runs;
    float height = 0.0f;
    float width = 0.0f;
    float descent = 0.0f;
    float leading = 0.0f;
    float ascent = 0.0f;
};

// "Arial" at 14 as fontconfig resolves it, used wherever a null font is given; made on first use
// and kept for the process.
const Font& defaultTextFont();

// Measures every run and the line: widths add up, ascent, descent and leading take the largest
// of the runs, and the height is at least ascent + descent + leading.
void measureLine(TextLine& line);

// The colour as 0xAARRGGBB, each channel times 255 truncated (0.5 gives 127).
uint32_t toArgb(const ColorA& color);

// The text drawn on a transparent BGRA surface (rows padded to 4 bytes) as wide as the ceiling of
// the measured width and one row taller than the ceiling of the line height. The line's top is
// at its leading, so the baseline is at leading + ascent. When baselineOffset is given it
// receives the line's descent. A null font means the default text font. Throws std::runtime_error for
// text that is not valid UTF-8.
Surface rasterizeText(const std::string& text, const Font& font, const ColorA& color,
                      float* baselineOffset = nullptr);

}  // namespace gl
}  // namespace loom
