// SDL keys into the framework's key codes, characters and modifier bits.
#include <SDL_mouse.h>
#include <gtest/gtest.h>

#include "framework/KeyCodes.h"
#include "framework/sdl/KeyTranslationSdl.h"

using namespace loom;
using namespace loom::framework;
using namespace loom::framework::sdl;

namespace {

KeyEvent key(SDL_Keycode sym, SDL_Scancode scancode, uint16_t mod = KMOD_NONE) {
    SDL_Keysym keysym{};
    keysym.sym = sym;
    keysym.scancode = scancode;
    keysym.mod = mod;
    return translateKey(keysym);
}

}  // namespace

TEST(KeyTranslation, LettersGiveTheirLowerCaseCodeAndShiftOnlyChangesTheCharacter) {
    KeyEvent plain = key(SDLK_a, SDL_SCANCODE_A);
    EXPECT_EQ(plain.getCode(), 97);
    EXPECT_EQ(plain.getChar(), 'a');
    EXPECT_EQ(plain.modifiers, 0u);

    KeyEvent shifted = key(SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT);
    EXPECT_EQ(shifted.getCode(), 97);
    EXPECT_EQ(shifted.getChar(), 'A');
    EXPECT_TRUE(shifted.isShiftDown());
    EXPECT_EQ(shifted.getNativeKeyCode(), int(SDL_SCANCODE_A)) << "native code is the scancode";

    EXPECT_EQ(key(SDLK_z, SDL_SCANCODE_Z).getCode(), 122);
    EXPECT_EQ(key(SDLK_q, SDL_SCANCODE_Q, KMOD_CAPS).getChar(), 'Q') << "Caps Lock shifts letters";
    EXPECT_EQ(key(SDLK_q, SDL_SCANCODE_Q, KMOD_CAPS | KMOD_RSHIFT).getChar(), 'q');
}

TEST(KeyTranslation, ControlIsReportedButDoesNotChangeTheCharacter) {
    KeyEvent ctrlA = key(SDLK_a, SDL_SCANCODE_A, KMOD_LCTRL);
    EXPECT_EQ(ctrlA.getCode(), 97);
    EXPECT_EQ(ctrlA.getChar(), 'a');
    EXPECT_EQ(ctrlA.modifiers, unsigned(Event::CTRL_DOWN));
    EXPECT_TRUE(ctrlA.isControlDown());

    KeyEvent all = key(SDLK_s, SDL_SCANCODE_S, KMOD_RCTRL | KMOD_LALT | KMOD_RSHIFT | KMOD_LGUI);
    EXPECT_EQ(all.modifiers,
              unsigned(Event::CTRL_DOWN | Event::ALT_DOWN | Event::SHIFT_DOWN | Event::META_DOWN));
    EXPECT_EQ(all.getChar(), 'S');
}

TEST(KeyTranslation, ModifierKeysHaveACodePerSide) {
    EXPECT_EQ(key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT).getCode(), KeyCode::LSHIFT);
    EXPECT_EQ(key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT).getCode(), 303);
    EXPECT_EQ(key(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT).getCode(), 304);
    EXPECT_EQ(key(SDLK_RCTRL, SDL_SCANCODE_RCTRL).getCode(), 305);
    EXPECT_EQ(key(SDLK_LCTRL, SDL_SCANCODE_LCTRL).getCode(), 306);
    EXPECT_EQ(key(SDLK_RALT, SDL_SCANCODE_RALT).getCode(), 307);
    EXPECT_EQ(key(SDLK_LALT, SDL_SCANCODE_LALT).getCode(), 308);
    EXPECT_EQ(key(SDLK_LGUI, SDL_SCANCODE_LGUI).getCode(), 311);
    EXPECT_EQ(key(SDLK_RGUI, SDL_SCANCODE_RGUI).getCode(), 312);
    EXPECT_EQ(key(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT).getChar(), 0) << "modifiers type nothing";
}

TEST(KeyTranslation, NamedKeysFollowTheTable) {
    struct Row {
        SDL_Keycode sym;
        SDL_Scancode scancode;
        int code;
        char character;
    };
    const Row rows[] = {
        {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8, 8},
        {SDLK_TAB, SDL_SCANCODE_TAB, 9, 9},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13, 13},
        {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27, 27},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 32, ' '},
        {SDLK_PAUSE, SDL_SCANCODE_PAUSE, 19, 0},
        {SDLK_CAPSLOCK, SDL_SCANCODE_CAPSLOCK, 301, 0},
        {SDLK_PAGEUP, SDL_SCANCODE_PAGEUP, 280, 0},
        {SDLK_PAGEDOWN, SDL_SCANCODE_PAGEDOWN, 281, 0},
        {SDLK_END, SDL_SCANCODE_END, 279, 0},
        {SDLK_HOME, SDL_SCANCODE_HOME, 278, 0},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 276, 0},
        {SDLK_UP, SDL_SCANCODE_UP, 273, 0},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 275, 0},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 274, 0},
        {SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN, 316, 0},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, 277, 0},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, 127, 0},
        {SDLK_HELP, SDL_SCANCODE_HELP, 315, 0},
        {SDLK_APPLICATION, SDL_SCANCODE_APPLICATION, 319, 0},
        {SDLK_CANCEL, SDL_SCANCODE_CANCEL, 318, 0},
        {SDLK_CLEAR, SDL_SCANCODE_CLEAR, 12, 0},
        {SDLK_NUMLOCKCLEAR, SDL_SCANCODE_NUMLOCKCLEAR, 300, 0},
        {SDLK_SCROLLLOCK, SDL_SCANCODE_SCROLLLOCK, 302, 0},
        {SDLK_F1, SDL_SCANCODE_F1, 282, 0},
        {SDLK_F12, SDL_SCANCODE_F12, 293, 0},
        {SDLK_F13, SDL_SCANCODE_F13, 294, 0},
        {SDLK_F15, SDL_SCANCODE_F15, 296, 0},
        {SDLK_F16, SDL_SCANCODE_F16, 0, 0},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, 256, '0'},
        {SDLK_KP_9, SDL_SCANCODE_KP_9, 265, '9'},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, 266, '.'},
        {SDLK_KP_DIVIDE, SDL_SCANCODE_KP_DIVIDE, 267, '/'},
        {SDLK_KP_MULTIPLY, SDL_SCANCODE_KP_MULTIPLY, 268, '*'},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, 269, '-'},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, 270, '+'},
    };
    for (const Row& row : rows) {
        KeyEvent event = key(row.sym, row.scancode);
        EXPECT_EQ(event.getCode(), row.code) << "key code " << row.sym;
        EXPECT_EQ(event.getChar(), row.character) << "key code " << row.sym;
    }
}

TEST(KeyTranslation, PunctuationKeepsItsCharacterAsCodeExceptMinus) {
    const char keys[] = ";=,./`[\\]'";
    for (const char* c = keys; *c; ++c)
        EXPECT_EQ(key(SDL_Keycode(*c), SDL_SCANCODE_UNKNOWN).getCode(), int(*c)) << *c;
    KeyEvent minus = key(SDLK_MINUS, SDL_SCANCODE_MINUS);
    EXPECT_EQ(minus.getCode(), 0) << "the minus key has no code";
    EXPECT_EQ(minus.getChar(), '-') << "but it still types its character";
    EXPECT_EQ(key(SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_SHIFT).getChar(), '_');
    EXPECT_EQ(key(SDLK_1, SDL_SCANCODE_1).getCode(), 49);
    EXPECT_EQ(key(SDLK_1, SDL_SCANCODE_1, KMOD_SHIFT).getChar(), '!');
    EXPECT_EQ(key(SDLK_SLASH, SDL_SCANCODE_SLASH, KMOD_SHIFT).getChar(), '?');
    EXPECT_EQ(key(SDLK_LESS, SDL_SCANCODE_NONUSBACKSLASH).getCode(), 60)
        << "the extra key of 102-key keyboards goes by position";
    EXPECT_EQ(key(SDLK_BACKSLASH, SDL_SCANCODE_NONUSBACKSLASH).getCode(), 60);
}

TEST(MouseTranslation, ButtonsAndKeysBecomeModifierBits) {
    EXPECT_EQ(buttonBitFor(SDL_BUTTON_LEFT), int(Event::LEFT_DOWN));
    EXPECT_EQ(buttonBitFor(SDL_BUTTON_RIGHT), int(Event::RIGHT_DOWN));
    EXPECT_EQ(buttonBitFor(SDL_BUTTON_MIDDLE), int(Event::MIDDLE_DOWN));
    EXPECT_EQ(buttonBitFor(SDL_BUTTON_X1), 0);

    EXPECT_EQ(mouseModifiersFor(SDL_BUTTON_LMASK | SDL_BUTTON_MMASK, KMOD_NONE),
              unsigned(Event::LEFT_DOWN | Event::MIDDLE_DOWN));
    EXPECT_EQ(mouseModifiersFor(SDL_BUTTON_RMASK, KMOD_LSHIFT | KMOD_RCTRL),
              unsigned(Event::RIGHT_DOWN | Event::SHIFT_DOWN | Event::CTRL_DOWN));
    EXPECT_EQ(mouseModifiersFor(SDL_BUTTON_X1MASK, KMOD_RALT | KMOD_RGUI),
              unsigned(Event::ALT_DOWN | Event::META_DOWN));
}
