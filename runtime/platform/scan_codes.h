// Keys by their DirectInput scan codes, translated to and from SDL's scancodes.
// Both name physical key positions, so the table needs no keyboard layout.
// Depends on SDL's scancode enumeration only; used by the SDL input source.
#pragma once
#include <SDL_scancode.h>

constexpr int kScanCodeCount = 256;

// SDL_SCANCODE_UNKNOWN for codes no key reports (0, 84, 129, ... and anything outside 0..255).
SDL_Scancode SdlScancodeFromScanCode(int scanCode);
// 0 for keys the game's keyboard cannot name.
int ScanCodeFromSdlScancode(SDL_Scancode sdlCode);
