// The canvas is sized by the page's style sheet; the game only follows it.
#include "platform/web/web_window.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cmath>
#include <cstdio>

#include "platform/window_geometry.h"

namespace {

EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void* window) {
    static_cast<WebWindow*>(window)->NoteFocus(FocusChange::Lost);
    return EM_FALSE;
}

EM_BOOL OnFocus(int, const EmscriptenFocusEvent*, void* window) {
    static_cast<WebWindow*>(window)->NoteFocus(FocusChange::Gained);
    return EM_FALSE;
}

}  // namespace

bool WebWindow::Create() {
    if (context_) return true;
    EmscriptenWebGLContextAttributes attributes;
    emscripten_webgl_init_context_attributes(&attributes);
    attributes.alpha = EM_FALSE;
    attributes.depth = EM_FALSE;
    attributes.stencil = EM_FALSE;
    attributes.antialias = EM_FALSE;
    attributes.preserveDrawingBuffer = EM_FALSE;
    attributes.majorVersion = 1;
    attributes.minorVersion = 0;
    EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context = emscripten_webgl_create_context(kCanvasSelector, &attributes);
    if (context <= 0 || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS) {
        std::fprintf(stderr, "tumbrel: this browser offers no WebGL; the game needs it to draw\n");
        return false;
    }
    context_ = static_cast<int>(context);
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnBlur);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, this, EM_TRUE, OnFocus);
    return true;
}

void WebWindow::Destroy() {
    if (!context_) return;
    emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, nullptr);
    emscripten_webgl_destroy_context(context_);
    context_ = 0;
}

// Device pixels, so that a whole scale factor stays crisp on high-density screens.
void WebWindow::FitCanvas(int& width, int& height) {
    double cssWidth = 0, cssHeight = 0;
    emscripten_get_element_css_size(kCanvasSelector, &cssWidth, &cssHeight);
    double ratio = emscripten_get_device_pixel_ratio();
    int wantedWidth = static_cast<int>(std::lround(cssWidth * ratio));
    int wantedHeight = static_cast<int>(std::lround(cssHeight * ratio));
    // A canvas smaller than the picture still shows all of it, scaled down by the browser.
    if (wantedWidth < kPictureWidth) wantedWidth = kPictureWidth;
    if (wantedHeight < kPictureHeight) wantedHeight = kPictureHeight;
    if (wantedWidth != width_ || wantedHeight != height_) {
        emscripten_set_canvas_element_size(kCanvasSelector, wantedWidth, wantedHeight);
        width_ = wantedWidth;
        height_ = wantedHeight;
    }
    width = width_;
    height = height_;
}

void WebWindow::ToggleFullScreen() {
    EmscriptenFullscreenChangeEvent status;
    if (emscripten_get_fullscreen_status(&status) == EMSCRIPTEN_RESULT_SUCCESS && status.isFullscreen)
        emscripten_exit_fullscreen();
    else
        emscripten_request_fullscreen(kCanvasSelector, EM_FALSE);
}

// A page is never closed from inside: the browser ends it without asking the game.
WindowEvents WebWindow::PumpEvents() {
    if (pumpHook_) pumpHook_();
    WindowEvents events;
    events.focus = pendingFocus_;
    pendingFocus_ = FocusChange::None;
    return events;
}

void WebWindow::SetTitle(const char* title) { emscripten_set_window_title(title); }
