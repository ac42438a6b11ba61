// The game's one window. SDL picks the display; the picture size never changes, only its scale.
#include "platform/sdl_window.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/errors.h"
#include "platform/gl_surface_size.h"
#include "platform/window_geometry.h"

namespace {

// X11 window managers group and theme windows by this class name.
constexpr char kWindowClass[] = "Pilcrow";

void AskForCompatibilityContext(bool withDepthAndStencil) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, withDepthAndStencil ? 24 : 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, withDepthAndStencil ? 8 : 0);
}

// driver: an SDL video driver name, or nullptr for SDL's own choice.
bool StartVideo(const char* driver) {
    // Newer SDL reads the hint, older SDL only the environment; a user's own setting wins.
    SDL_SetHint("SDL_VIDEO_X11_WMCLASS", kWindowClass);
    setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
    if (driver)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    else
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
    // Counted by SDL: every start is matched by one SDL_QuitSubSystem.
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

// A headless run needs no display: the offscreen driver renders without one, and SDL's own
// choice is the fallback. A driver the user names always wins.
std::vector<const char*> VideoDriversToTry(bool headless) {
    if (headless && !std::getenv("SDL_VIDEODRIVER")) return {"offscreen", nullptr};
    return {nullptr};
}

}  // namespace

bool SdlWindow::Create(const PlatformOptions& options, const char* title) {
    if (window_) return true;
    options_ = options;
    for (const char* driver : VideoDriversToTry(options.headless)) {
        if (!StartVideo(driver)) continue;
        if (CreateWindowAndContext(title)) return true;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    std::fprintf(stderr, "Cannot open an OpenGL window (%s); check the graphics driver, or play with "
                         "--headless and SDL_VIDEODRIVER=offscreen.\n", SDL_GetError());
    return false;
}

// Hidden until the surface set-up decides between full screen and a framed window.
bool SdlWindow::CreateWindowAndContext(const char* title) {
    int scale = WindowScale();
    for (bool withDepthAndStencil : {true, false}) {
        AskForCompatibilityContext(withDepthAndStencil);
        window_ = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kPictureWidth * scale, kPictureHeight * scale,
                                   SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (window_ && CreateContext()) {
            // The frame is drawn 1:1 into the window's corner before it is scaled up.
            SDL_SetWindowMinimumSize(window_, kPictureWidth, kPictureHeight);
            return true;
        }
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
    }
    return false;
}

bool SdlWindow::CreateContext() {
    context_ = SDL_GL_CreateContext(window_);
    if (!context_) return false;
    if (SDL_GL_MakeCurrent(window_, context_) != 0) {
        SDL_GL_DeleteContext(context_);
        context_ = nullptr;
        return false;
    }
    // The frame-slot wait paces the game; a headless run must not wait for a display either.
    SDL_GL_SetSwapInterval(options_.vsync && !options_.headless ? 1 : 0);
    fullScreen_ = false;
    return true;
}

void SdlWindow::Destroy() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
    fullScreen_ = false;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

int SdlWindow::WindowScale() const {
    if (options_.windowScale > 0) return options_.windowScale;
    SDL_Rect usable;
    int display = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0) return 1;
    return ComfortableWindowScale(usable.w, usable.h);
}

bool SdlWindow::SetFullScreenMode() {
    if (!window_) return false;
    if (options_.headless) return false;
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
        AppendErrorLog("No Fullscreen Mode available");
        SetWindowedMode();
        return false;
    }
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    fullScreen_ = true;
    return true;
}

void SdlWindow::SetWindowedMode() {
    if (!window_) return;
    if (fullScreen_) SDL_SetWindowFullscreen(window_, 0);
    fullScreen_ = false;
    int scale = WindowScale();
    SDL_SetWindowSize(window_, kPictureWidth * scale, kPictureHeight * scale);
    SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (options_.headless) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void SdlWindow::ToggleFullScreen() {
    if (fullScreen_)
        SetWindowedMode();
    else
        SetFullScreenMode();
}

void SdlWindow::Hide() {
    if (!window_) return;
    if (fullScreen_) SDL_SetWindowFullscreen(window_, 0);
    fullScreen_ = false;
    SDL_HideWindow(window_);
}

// Read afresh for every frame that is shown: SDL reports the size it asked for, and hears of no
// change when a window manager refuses full screen or grants it later.
void SdlWindow::DrawableSize(int& width, int& height) const {
    width = height = 0;
    if (!window_ || CurrentSurfaceSize(width, height)) return;
    SDL_GL_GetDrawableSize(window_, &width, &height);
}

void SdlWindow::SwapBuffers() {
    if (window_) SDL_GL_SwapWindow(window_);
}

bool SdlWindow::IsToggleKey(const void* sdlEvent) const {
    const auto& key = static_cast<const SDL_Event*>(sdlEvent)->key;
    return key.keysym.sym == SDLK_RETURN && (key.keysym.mod & KMOD_ALT) && !key.repeat;
}

// Keyboard events only update SDL's key-state table, which the input source reads.
WindowEvents SdlWindow::PumpEvents() {
    WindowEvents events;
    if (!window_) return events;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) events.closeRequested = true;
        if (event.type == SDL_KEYDOWN && IsToggleKey(&event)) ToggleFullScreen();
        if (event.type != SDL_WINDOWEVENT) continue;
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) events.closeRequested = true;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) events.focus = FocusChange::Lost;
        if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) events.focus = FocusChange::Gained;
    }
    return events;
}

void SdlWindow::SetTitle(const char* title) {
    if (window_) SDL_SetWindowTitle(window_, title);
}

void SdlWindow::BringToFront() {
    if (!window_) return;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}
