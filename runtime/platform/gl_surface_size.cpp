// Asks the GL system for the current draw surface: GLX on X11, EGL on the offscreen, Wayland and
// console drivers. Whichever has no current context answers nothing.
#include "platform/gl_surface_size.h"

#include <EGL/egl.h>
#include <GL/glx.h>

namespace {

bool GlxSurfaceSize(int& width, int& height) {
    Display* display = glXGetCurrentDisplay();
    GLXDrawable drawable = glXGetCurrentDrawable();
    if (glXGetCurrentContext() == nullptr || display == nullptr || drawable == 0) return false;
    unsigned int w = 0, h = 0;
    glXQueryDrawable(display, drawable, GLX_WIDTH, &w);
    glXQueryDrawable(display, drawable, GLX_HEIGHT, &h);
    if (w == 0 || h == 0) return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool EglSurfaceSize(int& width, int& height) {
    EGLDisplay display = eglGetCurrentDisplay();
    EGLSurface surface = eglGetCurrentSurface(EGL_DRAW);
    if (display == EGL_NO_DISPLAY || surface == EGL_NO_SURFACE) return false;
    EGLint w = 0, h = 0;
    if (!eglQuerySurface(display, surface, EGL_WIDTH, &w) || !eglQuerySurface(display, surface, EGL_HEIGHT, &h))
        return false;
    if (w <= 0 || h <= 0) return false;
    width = w;
    height = h;
    return true;
}

}  // namespace

bool CurrentSurfaceSize(int& width, int& height) {
    return GlxSurfaceSize(width, height) || EglSurfaceSize(width, height);
}
