// The platform's one state, its device steps for the program frame, and screenshots.
#include "platform/platform.h"

#include <vector>

#include "core/program.h"
#include "gfx/frame.h"
#include "gfx/gfx_steps.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "platform/gl_renderer.h"
#include "platform/png_writer.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_input.h"
#include "platform/sdl_window.h"
#include "platform/window_geometry.h"

namespace {

struct PlatformState {
    PlatformOptions options;
    SdlWindow window;
    GlRenderer renderer{window};
    SdlInput input;
};

PlatformState& Platform() {
    static PlatformState state;
    return state;
}

bool WantsFullScreen(const RuntimeSettings& settings) {
    const PlatformOptions& options = Platform().options;
    if (options.headless) return false;
    if (options.display == PlatformOptions::Display::AsSettings) return settings.fullscreen != 0;
    return options.display == PlatformOptions::Display::FullScreen;
}

bool OpenWindowAndRenderer(const RuntimeSettings& settings, const char* title) {
    PlatformState& platform = Platform();
    if (!platform.window.Create(platform.options, title)) return false;
    platform.renderer.Start();
    SetRenderBackend(&platform.renderer);
    SetWindowBackend(&platform.window);
    SetFrameTitle(title);
    SetKeepForeground(settings.keepForeground != 0);
    SetPauseAllowed(true);
    StartFrameClock(settings.framesPerSecond);
    platform.renderer.BeginFrame();
    platform.renderer.Clear(ClearColour | ClearDepth);
    return true;
}

// Device steps, in the order the program frame calls them.

bool CreateWindowStep(const RuntimeSettings& settings, const char* title) {
    return OpenWindowAndRenderer(settings, title);
}

void SetupSurfaceStep(const RuntimeSettings& settings) {
    PlatformState& platform = Platform();
    if (WantsFullScreen(settings))
        platform.window.SetFullScreenMode();
    else
        platform.window.SetWindowedMode();
    platform.renderer.BeginFrame();
}

// A headless run plays silently: it opens no sound device at all.
void OpenInputAndSoundStep(const RuntimeSettings&) {
    Platform().input.Start();
    SetInputSource(&Platform().input);
    if (!Platform().options.headless) SdlSoundOpen(Platform().options.volumePercent / 100.0f);
}

void HideWindowStep() { Platform().window.Hide(); }

void SetupMouseStep(const RuntimeSettings&) { Platform().input.ShowPointer(true); }

void DestroyWindowStep() {
    PlatformState& platform = Platform();
    SetRenderBackend(nullptr);
    SetWindowBackend(nullptr);
    platform.renderer.Stop();
    platform.window.Destroy();
}

void ShutdownInputStep() {
    SetInputSource(nullptr);
    Platform().input.Stop();
}

}  // namespace

void RegisterPlatformDevices(const PlatformOptions& options) {
    Platform().options = options;
    DeviceSteps steps;
    FillGfxDeviceSteps(steps);
    steps.createWindow = CreateWindowStep;
    steps.setupSurface = SetupSurfaceStep;
    steps.createDevices = SdlSoundCreateSlots;
    steps.openInputAndSound = OpenInputAndSoundStep;
    steps.hideWindow = HideWindowStep;
    steps.setupMouse = SetupMouseStep;
    steps.destroyWindow = DestroyWindowStep;
    steps.shutdownInput = ShutdownInputStep;
    steps.shutdownSound = SdlSoundShutdown;
    RegisterDeviceSteps(steps);
}

bool OpenPlatform(const PlatformOptions& options, const char* title) {
    if (PlatformOpen()) return true;
    Platform().options = options;
    RuntimeSettings settings;
    settings.fullscreen = 0;
    if (!OpenWindowAndRenderer(settings, title)) return false;
    SetupSurfaceStep(settings);
    Platform().input.Start();
    SetInputSource(&Platform().input);
    return true;
}

void ClosePlatform() {
    if (!PlatformOpen()) return;
    ShutdownInputStep();
    DestroyWindowStep();
}

bool PlatformOpen() { return Platform().window.IsOpen(); }

GlRenderer& PlatformRenderer() { return Platform().renderer; }
SdlWindow& PlatformWindow() { return Platform().window; }

bool SaveScreenshot(const std::string& path, std::string* error) {
    std::vector<uint8_t> frame;
    if (!GrabFrame(frame)) {
        if (error) *error = "no frame to save (the window is not open)";
        return false;
    }
    return WritePngFile(path, frame.data(), kPictureWidth, kPictureHeight, error);
}
