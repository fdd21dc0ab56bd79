// The framework's key codes, the values KeyEvent::getCode() returns. Printable keys use their
// (lower-case, unshifted) character code; the others sit at 256 and above. Keys not listed here
// (the minus key among them) give 0.
#pragma once

namespace loom::framework::KeyCode {

enum : int {
    UNKNOWN = 0,
    BACKSPACE = 8,
    TAB = 9,
    CLEAR = 12,
    RETURN = 13,
    PAUSE = 19,
    ESCAPE = 27,
    SPACE = 32,
    QUOTE = 39,
    COMMA = 44,
    PERIOD = 46,
    SLASH = 47,
    DIGIT_0 = 48,  // to DIGIT_0 + 9
    SEMICOLON = 59,
    LESS = 60,  // the extra key of 102-key keyboards
    EQUALS = 61,
    LEFT_BRACKET = 91,
    BACKSLASH = 92,
    RIGHT_BRACKET = 93,
    BACKQUOTE = 96,
    LETTER_A = 97,  // to LETTER_A + 25
    DELETE = 127,
    KP0 = 256,  // to KP0 + 9
    KP_PERIOD = 266,
    KP_DIVIDE = 267,
    KP_MULTIPLY = 268,
    KP_MINUS = 269,
    KP_PLUS = 270,
    UP = 273,
    DOWN = 274,
    RIGHT = 275,
    LEFT = 276,
    INSERT = 277,
    HOME = 278,
    END = 279,
    PAGEUP = 280,
    PAGEDOWN = 281,
    F1 = 282,  // to F15 = F1 + 14
    F15 = 296,
    NUMLOCK = 300,
    CAPSLOCK = 301,
    SCROLLOCK = 302,
    RSHIFT = 303,
    LSHIFT = 304,
    RCTRL = 305,
    LCTRL = 306,
    RALT = 307,
    LALT = 308,
    LMETA = 311,
    RMETA = 312,
    HELP = 315,
    PRINT = 316,
    BREAK = 318,
    MENU = 319
};

}  // namespace loom::framework::KeyCode
