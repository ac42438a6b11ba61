// The keyboard behind the input seam: SDL's key-state table read through the scan-code table,
// game controllers as keys, characters from the current keyboard layout, and the mouse pointer.
// Depends on SDL (video started by the window), scan_codes.h and sdl_gamepad.h.
#pragma once
#include "input/input_source.h"
#include "platform/sdl_gamepad.h"

class SdlInput : public InputSource {
public:
    void Start() { gamepads_.Start(); }
    void Stop() { gamepads_.Stop(); }
    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool visible) override;

private:
    SdlGamepads gamepads_;
};

// The Latin-1 character an SDL key code stands for (keypad keys included), 0 for none.
int CharacterOfKeycode(int sdlKeycode, bool numLockOn);
