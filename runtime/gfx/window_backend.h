// The window seam: what frame presentation needs from the platform's window besides drawing.
// Pumping reports a close request and focus changes; gfx decides what they mean (quit, pause).
// Time and sleeping go through core/clock.h, never through this seam.
#pragma once

enum class FocusChange { None, Lost, Gained };

struct WindowEvents {
    bool closeRequested = false;
    FocusChange focus = FocusChange::None;  // the last change seen in this pump
};

class WindowBackend {
public:
    virtual ~WindowBackend() = default;
    // Handles every pending window event; keyboard events are left to the input source.
    virtual WindowEvents PumpEvents() = 0;
    virtual void SetTitle(const char* title) = 0;
    // Shows the window, raises it and gives it the focus (the keep-foreground setting).
    virtual void BringToFront() = 0;
};
