#include "DigitDisplay.h"

#include "gl/Shapes.h"

namespace loom::demo {

namespace {

// Segments a to g, clockwise from the top, then the middle one.
enum Segment { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };

constexpr int DIGIT_SEGMENTS[10] = {A | B | C | D | E | F, B | C,         A | B | D | E | G,
                                    A | B | C | D | G,     B | C | F | G, A | C | D | F | G,
                                    A | C | D | E | F | G, A | B | C,     A | B | C | D | E | F | G,
                                    A | B | C | D | F | G};

void drawDigit(int segments, float x, float y, float l, float t) {
    float right = x + t + l;
    float middle = y + t + l;
    float bottom = y + 2 * (t + l);
    if (segments & A) gl::drawSolidRect(Rectf(x, y, right + t, y + t));
    if (segments & B) gl::drawSolidRect(Rectf(right, y, right + t, middle + t));
    if (segments & C) gl::drawSolidRect(Rectf(right, middle, right + t, bottom + t));
    if (segments & D) gl::drawSolidRect(Rectf(x, bottom, right + t, bottom + t));
    if (segments & E) gl::drawSolidRect(Rectf(x, middle, x + t, bottom + t));
    if (segments & F) gl::drawSolidRect(Rectf(x, y, x + t, middle + t));
    if (segments & G) gl::drawSolidRect(Rectf(x, middle, right + t, middle + t));
}

}  // namespace

void drawDigits(const std::string& text, const Vec2f& pos, float length, float thickness) {
    float x = pos.x;
    float bottom = pos.y + 2 * (thickness + length);
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            drawDigit(DIGIT_SEGMENTS[c - '0'], x, pos.y, length, thickness);
            x += 2 * thickness + length + thickness * 2;
        } else if (c == '.') {
            gl::drawSolidRect(Rectf(x, bottom, x + thickness, bottom + thickness));
            x += thickness * 3;
        } else {
            x += 2 * thickness + length + thickness * 2;
        }
    }
}

}  // namespace loom::demo
