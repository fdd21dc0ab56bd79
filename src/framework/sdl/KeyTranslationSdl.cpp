#include "framework/sdl/KeyTranslationSdl.h"

#include <SDL_mouse.h>

#include <cstring>

#include "framework/KeyCodes.h"

namespace loom::framework::sdl {

namespace {

// Keys whose code does not follow from their character.
struct KeyRow {
    SDL_Keycode key;
    int code;
};

constexpr KeyRow NAMED_KEYS[] = {
    {SDLK_CANCEL, KeyCode::BREAK},
    {SDLK_BACKSPACE, KeyCode::BACKSPACE},
    {SDLK_TAB, KeyCode::TAB},
    {SDLK_CLEAR, KeyCode::CLEAR},
    {SDLK_RETURN, KeyCode::RETURN},
    {SDLK_KP_ENTER, KeyCode::RETURN},
    {SDLK_PAUSE, KeyCode::PAUSE},
    {SDLK_CAPSLOCK, KeyCode::CAPSLOCK},
    {SDLK_ESCAPE, KeyCode::ESCAPE},
    {SDLK_SPACE, KeyCode::SPACE},
    {SDLK_PAGEUP, KeyCode::PAGEUP},
    {SDLK_PAGEDOWN, KeyCode::PAGEDOWN},
    {SDLK_END, KeyCode::END},
    {SDLK_HOME, KeyCode::HOME},
    {SDLK_LEFT, KeyCode::LEFT},
    {SDLK_UP, KeyCode::UP},
    {SDLK_RIGHT, KeyCode::RIGHT},
    {SDLK_DOWN, KeyCode::DOWN},
    {SDLK_PRINTSCREEN, KeyCode::PRINT},
    {SDLK_INSERT, KeyCode::INSERT},
    {SDLK_DELETE, KeyCode::DELETE},
    {SDLK_HELP, KeyCode::HELP},
    {SDLK_LGUI, KeyCode::LMETA},
    {SDLK_RGUI, KeyCode::RMETA},
    {SDLK_APPLICATION, KeyCode::MENU},
    {SDLK_KP_MULTIPLY, KeyCode::KP_MULTIPLY},
    {SDLK_KP_PLUS, KeyCode::KP_PLUS},
    {SDLK_KP_MINUS, KeyCode::KP_MINUS},
    {SDLK_KP_PERIOD, KeyCode::KP_PERIOD},
    {SDLK_KP_DIVIDE, KeyCode::KP_DIVIDE},
    {SDLK_NUMLOCKCLEAR, KeyCode::NUMLOCK},
    {SDLK_SCROLLLOCK, KeyCode::SCROLLOCK},
    {SDLK_LSHIFT, KeyCode::LSHIFT},
    {SDLK_RSHIFT, KeyCode::RSHIFT},
    {SDLK_LCTRL, KeyCode::LCTRL},
    {SDLK_RCTRL, KeyCode::RCTRL},
    {SDLK_LALT, KeyCode::LALT},
    {SDLK_RALT, KeyCode::RALT},
    {SDLK_F13, KeyCode::F1 + 12},
    {SDLK_F14, KeyCode::F1 + 13},
    {SDLK_F15, KeyCode::F15},
};

// Printable keys that keep their character as their code (letters and digits are handled apart;
// the minus key is deliberately absent and gives 0).
constexpr char CHARACTER_KEYS[] = ";=,./`[\\]'";

// What Shift makes of the unshifted symbols on a US layout.
constexpr char UNSHIFTED[] = "`1234567890-=[]\\;',./";
constexpr char SHIFTED[] = "~!@#$%^&*()_+{}|:\"<>?";

bool isLetter(SDL_Keycode key) { return key >= SDLK_a && key <= SDLK_z; }
bool isDigit(SDL_Keycode key) { return key >= SDLK_0 && key <= SDLK_9; }

}  // namespace

int keyCodeFor(SDL_Keycode key, SDL_Scancode scancode) {
    // The extra key of 102-key keyboards types '<' or '\' depending on the layout: go by position.
    if (scancode == SDL_SCANCODE_NONUSBACKSLASH) return KeyCode::LESS;
    if (isLetter(key) || isDigit(key)) return int(key);
    if (key > 0 && key < 128 && key != '\0' && std::strchr(CHARACTER_KEYS, int(key))) return int(key);
    if (key >= SDLK_F1 && key <= SDLK_F12) return KeyCode::F1 + int(key - SDLK_F1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return KeyCode::KP0 + 1 + int(key - SDLK_KP_1);
    if (key == SDLK_KP_0) return KeyCode::KP0;
    for (const KeyRow& row : NAMED_KEYS)
        if (row.key == key) return row.code;
    return KeyCode::UNKNOWN;
}

char characterFor(SDL_Keycode key, uint16_t mod) {
    bool shift = (mod & KMOD_SHIFT) != 0;
    if (isLetter(key)) {
        bool upper = shift != ((mod & KMOD_CAPS) != 0);
        return char(upper ? key - 'a' + 'A' : key);
    }
    switch (key) {
        case SDLK_BACKSPACE: return 8;
        case SDLK_TAB: return 9;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 13;
        case SDLK_ESCAPE: return 27;
        case SDLK_SPACE: return ' ';
        case SDLK_KP_DIVIDE: return '/';
        case SDLK_KP_MULTIPLY: return '*';
        case SDLK_KP_MINUS: return '-';
        case SDLK_KP_PLUS: return '+';
        case SDLK_KP_PERIOD: return '.';
        case SDLK_KP_0: return '0';
        default: break;
    }
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return char('1' + (key - SDLK_KP_1));
    if (key > 0 && key < 128) {
        const char* at = std::strchr(UNSHIFTED, int(key));
        if (at) return shift ? SHIFTED[at - UNSHIFTED] : char(key);
    }
    return 0;
}

unsigned keyModifiersFor(uint16_t mod) {
    unsigned bits = 0;
    if (mod & KMOD_SHIFT) bits |= Event::SHIFT_DOWN;
    if (mod & KMOD_ALT) bits |= Event::ALT_DOWN;
    if (mod & KMOD_CTRL) bits |= Event::CTRL_DOWN;
    if (mod & KMOD_GUI) bits |= Event::META_DOWN;
    return bits;
}

unsigned mouseModifiersFor(uint32_t buttons, uint16_t mod) {
    unsigned bits = keyModifiersFor(mod);
    if (buttons & SDL_BUTTON_LMASK) bits |= Event::LEFT_DOWN;
    if (buttons & SDL_BUTTON_RMASK) bits |= Event::RIGHT_DOWN;
    if (buttons & SDL_BUTTON_MMASK) bits |= Event::MIDDLE_DOWN;
    return bits;
}

int buttonBitFor(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return Event::LEFT_DOWN;
        case SDL_BUTTON_RIGHT: return Event::RIGHT_DOWN;
        case SDL_BUTTON_MIDDLE: return Event::MIDDLE_DOWN;
        default: return 0;
    }
}

KeyEvent translateKey(const SDL_Keysym& keysym) {
    return KeyEvent(keyCodeFor(keysym.sym, keysym.scancode), characterFor(keysym.sym, keysym.mod),
                    keyModifiersFor(keysym.mod), int(keysym.scancode));
}

}  // namespace loom::framework::sdl
