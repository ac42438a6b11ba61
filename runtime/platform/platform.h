// The platform: the window, the GL renderer and the keyboard source behind the gfx and input
// seams, registered with the program frame as its device steps; screenshots. SDL2 + OpenGL on the
// desktop, the browser's in web/. Game and runtime code see nothing of either but this header.
#pragma once
#include <string>

struct PlatformOptions {
    enum class Display { AsSettings, Windowed, FullScreen };
    Display display = Display::AsSettings;  // AsSettings: the runtime's full-screen setting decides
    int windowScale = 0;  // framed window = 320 x 240 times this; 0: the largest that fits comfortably
    bool headless = false;  // hidden window, no vsync; GL still renders
    bool vsync = true;
    int volumePercent = 100;  // the mixer's output level; the game's own volumes stay as they are
};

// Puts the window, renderer, input and sound steps into the program frame (before GameEntry).
void RegisterPlatformDevices(const PlatformOptions& options = PlatformOptions{});

// Opens and closes the platform directly, for tests and tools that render without the frame.
// Opening installs the renderer, window and input source; closing restores the null ones.
bool OpenPlatform(const PlatformOptions& options, const char* title);
void ClosePlatform();
bool PlatformOpen();

// Saves the current 320 x 240 frame as a PNG, read from the back buffer before the swap.
bool SaveScreenshot(const std::string& path, std::string* error = nullptr);
