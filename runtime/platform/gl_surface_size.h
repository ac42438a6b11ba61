// The size of the surface the current GL context draws into, as GLX or EGL knows it. SDL's
// window size is the size that was asked for, which a window manager may not have granted.
// Depends on GLX and EGL; kept apart because the X11 headers clash with ordinary names.
#pragma once

// false when no context is current or neither GLX nor EGL can tell.
bool CurrentSurfaceSize(int& width, int& height);
