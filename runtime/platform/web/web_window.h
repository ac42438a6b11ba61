// The page's canvas with its WebGL context: the drawing-buffer size kept to the canvas's size on
// screen, Alt+Enter for full screen, the page title, and the window's focus as the game's active
// state. Depends on Emscripten's html5 API and the gfx window seam; the renderer draws into it.
#pragma once
#include "gfx/window_backend.h"

class WebWindow : public WindowBackend {
public:
    bool Create();
    void Destroy();
    bool IsOpen() const { return context_ != 0; }

    // Sizes the drawing buffer to the canvas's on-screen pixels and returns that size.
    void FitCanvas(int& width, int& height);
    void ToggleFullScreen();
    // Called on every pump, for what must be looked after once a frame (sound, saved files).
    void SetPumpHook(void (*hook)()) { pumpHook_ = hook; }

    WindowEvents PumpEvents() override;
    void SetTitle(const char* title) override;
    void BringToFront() override {}

    // Focus changes arrive between pumps; the last one wins.
    void NoteFocus(FocusChange change) { pendingFocus_ = change; }

private:
    int context_ = 0;
    int width_ = 0;
    int height_ = 0;
    FocusChange pendingFocus_ = FocusChange::None;
    void (*pumpHook_)() = nullptr;
};

// The element the game draws into.
constexpr const char* kCanvasSelector = "#canvas";
