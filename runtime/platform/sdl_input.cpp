// Keys are read as they are at the moment of the call, like the device state they replace.
#include "platform/sdl_input.h"

#include <SDL.h>

#include "platform/scan_codes.h"

namespace {

int KeypadCharacter(int sdlKeycode, bool numLockOn) {
    switch (sdlKeycode) {
    case SDLK_KP_DIVIDE: return '/';
    case SDLK_KP_MULTIPLY: return '*';
    case SDLK_KP_MINUS: return '-';
    case SDLK_KP_PLUS: return '+';
    default: break;
    }
    // Without Num Lock the digit keys move the cursor and type nothing.
    if (!numLockOn) return 0;
    if (sdlKeycode == SDLK_KP_0) return '0';
    if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) return '1' + (sdlKeycode - SDLK_KP_1);
    if (sdlKeycode == SDLK_KP_PERIOD) return '.';
    return 0;
}

}  // namespace

int CharacterOfKeycode(int sdlKeycode, bool numLockOn) {
    if (sdlKeycode & SDLK_SCANCODE_MASK) return KeypadCharacter(sdlKeycode, numLockOn);
    // Delete has a code point but types nothing; beyond Latin-1 the game's fonts have no cell.
    if (sdlKeycode <= 0 || sdlKeycode == SDLK_DELETE || sdlKeycode > 255) return 0;
    return sdlKeycode;
}

void SdlInput::Poll(uint8_t keyState[kKeyStateSize]) {
    SDL_PumpEvents();
    int sdlKeyCount = 0;
    const Uint8* sdlKeys = SDL_GetKeyboardState(&sdlKeyCount);
    for (int scanCode = 0; scanCode < kKeyStateSize; ++scanCode) {
        SDL_Scancode sdlCode = SdlScancodeFromScanCode(scanCode);
        bool down = sdlCode != SDL_SCANCODE_UNKNOWN && sdlCode < sdlKeyCount && sdlKeys[sdlCode];
        keyState[scanCode] = down ? kKeyDownBit : 0;
    }
    // Alt+Enter belongs to the window (full screen on and off); the game must not see the Enter.
    if (sdlKeys[SDL_SCANCODE_LALT] || sdlKeys[SDL_SCANCODE_RALT]) {
        keyState[28] = 0;
        keyState[156] = 0;
    }
    gamepads_.AddHeldKeys(keyState);
}

int SdlInput::CharacterOfScanCode(int scanCode) {
    SDL_Scancode sdlCode = SdlScancodeFromScanCode(scanCode);
    if (sdlCode == SDL_SCANCODE_UNKNOWN) return 0;
    return CharacterOfKeycode(SDL_GetKeyFromScancode(sdlCode), (SDL_GetModState() & KMOD_NUM) != 0);
}

void SdlInput::ShowPointer(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }
