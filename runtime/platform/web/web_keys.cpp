// The DirectInput scan code of every key of a PC keyboard beside its name in the browser.
#include "platform/web/web_keys.h"

#include <cstring>

namespace {

struct KeyPosition {
    int scanCode;
    const char* code;
};

constexpr KeyPosition kKeys[] = {
    {1, "Escape"},
    {2, "Digit1"}, {3, "Digit2"}, {4, "Digit3"}, {5, "Digit4"}, {6, "Digit5"},
    {7, "Digit6"}, {8, "Digit7"}, {9, "Digit8"}, {10, "Digit9"}, {11, "Digit0"},
    {12, "Minus"}, {13, "Equal"}, {14, "Backspace"}, {15, "Tab"},
    {16, "KeyQ"}, {17, "KeyW"}, {18, "KeyE"}, {19, "KeyR"}, {20, "KeyT"},
    {21, "KeyY"}, {22, "KeyU"}, {23, "KeyI"}, {24, "KeyO"}, {25, "KeyP"},
    {26, "BracketLeft"}, {27, "BracketRight"}, {28, "Enter"}, {29, "ControlLeft"},
    {30, "KeyA"}, {31, "KeyS"}, {32, "KeyD"}, {33, "KeyF"}, {34, "KeyG"},
    {35, "KeyH"}, {36, "KeyJ"}, {37, "KeyK"}, {38, "KeyL"},
    {39, "Semicolon"}, {40, "Quote"}, {41, "Backquote"}, {42, "ShiftLeft"}, {43, "Backslash"},
    {44, "KeyZ"}, {45, "KeyX"}, {46, "KeyC"}, {47, "KeyV"}, {48, "KeyB"}, {49, "KeyN"}, {50, "KeyM"},
    {51, "Comma"}, {52, "Period"}, {53, "Slash"}, {54, "ShiftRight"}, {55, "NumpadMultiply"},
    {56, "AltLeft"}, {57, "Space"}, {58, "CapsLock"},
    {59, "F1"}, {60, "F2"}, {61, "F3"}, {62, "F4"}, {63, "F5"},
    {64, "F6"}, {65, "F7"}, {66, "F8"}, {67, "F9"}, {68, "F10"},
    {69, "NumLock"}, {70, "ScrollLock"},
    {71, "Numpad7"}, {72, "Numpad8"}, {73, "Numpad9"}, {74, "NumpadSubtract"},
    {75, "Numpad4"}, {76, "Numpad5"}, {77, "Numpad6"}, {78, "NumpadAdd"},
    {79, "Numpad1"}, {80, "Numpad2"}, {81, "Numpad3"}, {82, "Numpad0"}, {83, "NumpadDecimal"},
    {86, "IntlBackslash"}, {87, "F11"}, {88, "F12"},
    {156, "NumpadEnter"}, {157, "ControlRight"}, {181, "NumpadDivide"}, {183, "PrintScreen"},
    {184, "AltRight"}, {197, "Pause"},
    {199, "Home"}, {200, "ArrowUp"}, {201, "PageUp"}, {203, "ArrowLeft"}, {205, "ArrowRight"},
    {207, "End"}, {208, "ArrowDown"}, {209, "PageDown"}, {210, "Insert"}, {211, "Delete"},
    {219, "MetaLeft"}, {220, "MetaRight"}, {221, "ContextMenu"},
    // Older browsers name the key left of Return on ISO keyboards this way.
    {43, "IntlHash"},
};

// Rows of the US layout from the scan code of their first key on.
struct LayoutRow {
    int firstScanCode;
    const char* characters;
};

constexpr LayoutRow kUsRows[] = {
    {2, "1234567890-="}, {16, "qwertyuiop[]"}, {30, "asdfghjkl;'`"}, {43, "\\zxcvbnm,./"}, {57, " "},
};

}  // namespace

int ScanCodeFromKeyPosition(const char* code) {
    if (code == nullptr) return 0;
    for (const KeyPosition& key : kKeys) {
        if (std::strcmp(key.code, code) == 0) return key.scanCode;
    }
    return 0;
}

int UsCharacterOfScanCode(int scanCode) {
    for (const LayoutRow& row : kUsRows) {
        int at = scanCode - row.firstScanCode;
        if (at >= 0 && at < static_cast<int>(std::strlen(row.characters)))
            return static_cast<unsigned char>(row.characters[at]);
    }
    return 0;
}
