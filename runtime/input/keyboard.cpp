// Key states, typed characters and the pointer, read through the installed input source.
#include "input/keyboard.h"

#include <cstring>

namespace {

class SilentInput : public InputSource {
public:
    void Poll(uint8_t keyState[kKeyStateSize]) override { std::memset(keyState, 0, kKeyStateSize); }
    int CharacterOfScanCode(int) override { return 0; }
    void ShowPointer(bool) override {}
};

struct KeyboardState {
    SilentInput silent;
    InputSource* source = &silent;
    uint8_t keys[kKeyStateSize] = {};
    int lastTypedCode = 0;
};

KeyboardState& Keyboard() {
    static KeyboardState state;
    return state;
}

bool IsKeyDown(int scanCode) { return (Keyboard().keys[scanCode & 0xFF] & kKeyDownBit) != 0; }

// Keys that never type: the modifiers, the lock keys and the menu key.
bool IsSilentKey(int scanCode) {
    switch (scanCode) {
    case ScanLeftCtrl: case ScanLeftShift: case ScanRightShift: case ScanLeftAlt:
    case ScanCapsLock: case ScanNumLock: case ScanApplications:
        return true;
    default:
        return false;
    }
}

int CharacterOfKey(int scanCode) {
    if (scanCode == ScanBackspace) return 8;
    if (scanCode == ScanReturn || scanCode == ScanKeypadEnter) return 10;
    if (IsSilentKey(scanCode)) return 0;
    int code = Keyboard().source->CharacterOfScanCode(scanCode) & 0xFF;
    return code < 32 && code != 8 && code != 10 ? 0 : code;
}

// The lowest scan code that is down and types something.
int FirstTypedCharacter() {
    for (int scanCode = 0; scanCode < 255; ++scanCode) {
        if (!IsKeyDown(scanCode)) continue;
        int code = CharacterOfKey(scanCode);
        if (code != 0) return code;
    }
    return 0;
}

}  // namespace

bool IsKeyScanCode(int scanCode) {
    // The main block, the function keys and the keypad, then the extended keys one by one.
    static const struct {
        int first, last;
    } kKeys[] = {{1, 83},    {86, 88},   {156, 157}, {181, 181}, {183, 184}, {197, 197},
                 {199, 201}, {203, 203}, {205, 205}, {207, 211}, {219, 221}};
    for (const auto& keys : kKeys)
        if (scanCode >= keys.first && scanCode <= keys.last) return true;
    return false;
}

void SetInputSource(InputSource* source) {
    Keyboard().source = source ? source : &Keyboard().silent;
    std::memset(Keyboard().keys, 0, kKeyStateSize);
}

InputSource& CurrentInputSource() { return *Keyboard().source; }

void PollInput() { Keyboard().source->Poll(Keyboard().keys); }

double KeyState(double scanCode) {
    PollInput();
    // Codes beyond 32 bits (or NaN) name no key: read key 0, which never reports down.
    bool inRange = scanCode > -2147483649.0 && scanCode < 2147483648.0;
    return IsKeyDown(inRange ? static_cast<int>(scanCode) : 0) ? 1.0 : 0.0;
}

bool KeyWasDown(int scanCode) { return IsKeyDown(scanCode); }

int ReadTypedCode() {
    PollInput();
    int candidate = FirstTypedCharacter();
    bool shift = IsKeyDown(ScanLeftShift) || IsKeyDown(ScanRightShift);
    if (shift && candidate >= 'a' && candidate <= 'z') candidate -= 32;
    KeyboardState& keyboard = Keyboard();
    if (candidate == keyboard.lastTypedCode) return 0;
    keyboard.lastTypedCode = candidate;
    return candidate;
}

RtStr ReadTypedChar() {
    char text[2] = {static_cast<char>(ReadTypedCode()), 0};
    return RtStr(text);
}

void ShowMousePointer(double flag) { Keyboard().source->ShowPointer(flag != 0); }

void MarkInputFrame() { Keyboard().source->NextFrame(); }

void ResetTypedCharMemory() { Keyboard().lastTypedCode = 0; }

// The main block, by scan code.
int UsLayoutCharacter(int scanCode) {
    static const char kMainBlock[] =
        "\0\0" "1234567890-=" "\0\0" "qwertyuiop[]" "\0\0" "asdfghjkl;'`" "\0\\" "zxcvbnm,./";
    if (scanCode == 57) return ' ';
    if (scanCode >= 0 && scanCode < static_cast<int>(sizeof kMainBlock - 1)) {
        return static_cast<unsigned char>(kMainBlock[scanCode]);
    }
    return 0;
}
