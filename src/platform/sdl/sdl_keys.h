// Keyboard and mouse translation from SDL's codes to the ones the game's handlers take:
// Windows virtual-key codes, the shift mask and the button numbers.
#pragma once

#include <SDL.h>

namespace qlx {

// The virtual-key code of a key, or 0 for a key the game's keyboard has no code for.
int virtualKeyOf(SDL_Keycode key);

// The shift argument of the handlers: 1 Shift, 2 Ctrl, 4 Alt.
int shiftMaskOf(Uint16 mod);

// The character code a key-down produces that SDL sends no text for (Backspace 8, Enter 13,
// Escape 27), or 0.
int controlCharOf(SDL_Keycode key);

// The button number of a press (1 left, 2 right, 4 middle), or 0 for any other button.
int buttonOf(Uint8 sdlButton);

// The buttons held during a motion, as the sum of their numbers.
int buttonsHeldOf(Uint32 sdlState);

}  // namespace qlx
