// Keys are read as they stand at the moment of the poll, like the device state they replace.
#include "platform/web/web_input.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cctype>
#include <cstring>

#include "platform/web/web_keys.h"
#include "platform/web/web_window.h"

namespace {

constexpr int kScanReturn = 28;
constexpr int kScanLeftCtrl = 29;
constexpr int kScanLeftAlt = 56;
constexpr int kScanSpace = 57;
constexpr int kScanKeypadEnter = 156;
constexpr int kScanRightCtrl = 157;
constexpr int kScanRightAlt = 184;

bool IsFunctionKey(int scanCode) { return (scanCode >= 59 && scanCode <= 68) || scanCode == 87 || scanCode == 88; }

bool IsPlayingKey(int scanCode) {
    return scanCode == 200 || scanCode == 203 || scanCode == 205 || scanCode == 208 || scanCode == kScanSpace ||
           scanCode == kScanLeftCtrl || scanCode == kScanRightCtrl;
}

// The page keeps the keys the game plays with; shortcuts of the browser (function keys, reload,
// closing the tab, Alt+F4) stay the browser's.
bool KeepFromBrowser(int scanCode, const EmscriptenKeyboardEvent& event) {
    if (scanCode == 0 || IsFunctionKey(scanCode) || event.metaKey) return false;
    if (event.ctrlKey || event.altKey) return IsPlayingKey(scanCode);
    return true;
}

// The Latin-1 character of a one-character key name given in UTF-8, 0 for anything else.
int Latin1Character(const char* utf8) {
    auto bytes = reinterpret_cast<const unsigned char*>(utf8);
    if (bytes[0] != 0 && bytes[0] < 0x80 && bytes[1] == 0) return bytes[0];
    if ((bytes[0] == 0xC2 || bytes[0] == 0xC3) && (bytes[1] & 0xC0) == 0x80 && bytes[2] == 0)
        return ((bytes[0] & 0x03) << 6) | (bytes[1] & 0x3F);
    return 0;
}

EM_BOOL OnKeyDown(int, const EmscriptenKeyboardEvent* event, void* input) {
    return static_cast<WebInput*>(input)->HandleKey(*event, true);
}

EM_BOOL OnKeyUp(int, const EmscriptenKeyboardEvent* event, void* input) {
    return static_cast<WebInput*>(input)->HandleKey(*event, false);
}

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* input) {
    static_cast<WebInput*>(input)->ReleaseAll();
    return EM_FALSE;
}

}  // namespace

void WebInput::Start() {
    if (listening_) return;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyDown);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnKeyUp);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
    listening_ = true;
}

void WebInput::Stop() {
    if (!listening_) return;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    ReleaseAll();
    listening_ = false;
}

bool WebInput::HandleKey(const EmscriptenKeyboardEvent& event, bool down) {
    int scanCode = ScanCodeFromKeyPosition(event.code);
    if (scanCode == 0) return false;
    held_[scanCode] = down ? kKeyDownBit : 0;
    if (down && !event.ctrlKey && !event.altKey && !event.metaKey && !event.shiftKey) {
        int character = Latin1Character(event.key);
        if (character) typed_[scanCode] = static_cast<uint8_t>(std::tolower(character));
    }
    bool altEnter = event.altKey && (scanCode == kScanReturn || scanCode == kScanKeypadEnter);
    if (altEnter && down && !event.repeat) window_.ToggleFullScreen();
    return altEnter || KeepFromBrowser(scanCode, event);
}

void WebInput::ReleaseAll() { std::memset(held_, 0, sizeof held_); }

void WebInput::Poll(uint8_t keyState[kKeyStateSize]) {
    std::memcpy(keyState, held_, kKeyStateSize);
    // Alt+Enter belongs to the window (full screen on and off); the game must not see the Enter.
    if (held_[kScanLeftAlt] || held_[kScanRightAlt]) {
        keyState[kScanReturn] = 0;
        keyState[kScanKeypadEnter] = 0;
    }
}

int WebInput::CharacterOfScanCode(int scanCode) {
    if (scanCode < 0 || scanCode >= kKeyStateSize) return 0;
    return typed_[scanCode] ? typed_[scanCode] : UsCharacterOfScanCode(scanCode);
}

void WebInput::ShowPointer(bool visible) {
    EM_ASM({ if (Module.canvas) Module.canvas.style.cursor = $0 ? "" : "none"; }, visible);
}
