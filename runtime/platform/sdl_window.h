// The SDL window with its GL compatibility context: creation, full screen (desktop size, the
// picture scaled by whole factors) or a framed window, Alt+Enter, and the window events.
// Depends on SDL and the gfx window seam; the renderer draws into its context.
#pragma once
#include "gfx/window_backend.h"
#include "platform/platform.h"

struct SDL_Window;

class SdlWindow : public WindowBackend {
public:
    bool Create(const PlatformOptions& options, const char* title);
    void Destroy();
    bool IsOpen() const { return window_ != nullptr; }

    // Desktop full screen; false (with a framed window and a line in the error log) when refused.
    bool SetFullScreenMode();
    void SetWindowedMode();
    void ToggleFullScreen();
    void Hide();
    bool FullScreen() const { return fullScreen_; }

    // The real size of the GL surface, which may differ from the size asked for.
    void DrawableSize(int& width, int& height) const;
    void SwapBuffers();

    WindowEvents PumpEvents() override;
    void SetTitle(const char* title) override;
    void BringToFront() override;

private:
    bool CreateWindowAndContext(const char* title);
    bool CreateContext();
    int WindowScale() const;
    bool IsToggleKey(const void* sdlEvent) const;

    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    PlatformOptions options_;
    bool fullScreen_ = false;
};

// The window of the open platform (tests push events at it).
SdlWindow& PlatformWindow();
