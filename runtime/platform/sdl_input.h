// The keyboard behind the input seam: SDL's key-state table read through the scan-code table,
// characters from the current keyboard layout, and the mouse pointer.
// Depends on SDL (video started by the window) and scan_codes.h.
#pragma once
#include "input/input_source.h"

class SdlInput : public InputSource {
public:
    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool visible) override;
};

// The Latin-1 character an SDL key code stands for (keypad keys included), 0 for none.
int CharacterOfKeycode(int sdlKeycode, bool numLockOn);
