// The input seam: a source fills the 256-entry key-state table (by DirectInput scan code, bit 7 =
// down) on every poll and translates a scan code to a character under the current layout.
// The platform implements it with SDL; replays and tests have sources of their own.
// Depends on nothing.
#pragma once
#include <cstdint>

constexpr int kKeyStateSize = 256;
constexpr uint8_t kKeyDownBit = 0x80;

class InputSource {
public:
    virtual ~InputSource() = default;
    virtual void Poll(uint8_t keyState[kKeyStateSize]) = 0;
    // The character the key gives without modifiers under the current layout (Latin-1), 0 for none.
    virtual int CharacterOfScanCode(int scanCode) = 0;
    virtual void ShowPointer(bool visible) = 0;
    // Called once per presented frame, before that frame's poll.
    virtual void NextFrame() {}
};

// The character of a key on a US keyboard (letters, digits, punctuation, space), 0 for none:
// the layout of sources that have none of their own, so that replays type the same everywhere.
int UsLayoutCharacter(int scanCode);
