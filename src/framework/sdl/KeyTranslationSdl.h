// How SDL's keys, buttons and modifier states become the framework's key codes, characters and
// modifier bits. Pure functions: no SDL state is read, so they are tested without a display.
#pragma once

#include <SDL_keyboard.h>

#include <cstdint>

#include "framework/KeyEvent.h"

namespace loom::framework::sdl {

// The framework key code (framework/KeyCodes.h) of a key; 0 for keys without one.
int keyCodeFor(SDL_Keycode key, SDL_Scancode scancode);
// The character a key types with the Shift and Caps Lock state in mod (a US layout's shifted
// symbols); Control is ignored, so Ctrl+A gives 'a'. 0 for keys that type nothing.
char characterFor(SDL_Keycode key, uint16_t mod);
// SHIFT_DOWN, ALT_DOWN, CTRL_DOWN and META_DOWN from SDL's modifier state.
unsigned keyModifiersFor(uint16_t mod);
// LEFT_DOWN, RIGHT_DOWN, MIDDLE_DOWN from SDL's button mask, plus the key modifiers.
unsigned mouseModifiersFor(uint32_t buttons, uint16_t mod);
// The button bit of an SDL button number (SDL_BUTTON_LEFT...), 0 for other buttons.
int buttonBitFor(uint8_t button);

KeyEvent translateKey(const SDL_Keysym& keysym);

}  // namespace loom::framework::sdl
