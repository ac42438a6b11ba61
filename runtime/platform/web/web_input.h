// The keyboard behind the input seam in the browser: the page's key events kept as a table of
// held keys by scan code, released when the page loses the focus (their key-up never comes),
// characters learnt from what the keys type, and Alt+Enter for full screen.
// Depends on Emscripten's html5 API, web_keys.h and the web window.
#pragma once
#include "input/input_source.h"

class WebWindow;
struct EmscriptenKeyboardEvent;

class WebInput : public InputSource {
public:
    explicit WebInput(WebWindow& window) : window_(window) {}
    void Start();
    void Stop();

    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool visible) override;

    // From the event handlers: true when the browser must not act on the key itself.
    bool HandleKey(const EmscriptenKeyboardEvent& event, bool down);
    void ReleaseAll();

private:
    WebWindow& window_;
    bool listening_ = false;
    uint8_t held_[kKeyStateSize] = {};
    uint8_t typed_[kKeyStateSize] = {};  // the character each key last typed without modifiers
};
