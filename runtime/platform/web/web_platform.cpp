// The browser platform: the canvas, the WebGL renderer, the keyboard, Web Audio and the clock
// behind the same seams and device steps as the desktop one, so the program's entry and the
// game run unchanged. The page (index.html) prepares the files and the command line.
#include <emscripten.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/program.h"
#include "gfx/frame.h"
#include "gfx/gfx_steps.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "platform/platform.h"
#include "platform/png_writer.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_input.h"
#include "platform/web/web_renderer.h"
#include "platform/web/web_window.h"
#include "platform/window_geometry.h"

namespace {

struct PlatformState {
    PlatformOptions options;
    WebWindow window;
    WebRenderer renderer{window};
    WebInput input{window};
};

PlatformState& Platform() {
    static PlatformState state;
    return state;
}

// Once a frame: keep the sound queued and let the page store changed save files.
void LookAfterPage() {
    WebSoundService();
    EM_ASM({ if (Module.tumbrelSavesMayHaveChanged) Module.tumbrelSavesMayHaveChanged(); });
}

// Waiting hands the page back to the browser (drawing, events, sound); the game resumes after.
// Long waits are cut into pieces so the sound never runs dry. Every wait, even one of 0 ms,
// hands the page over for at least a millisecond: a caller that waits for the clock to move on
// would otherwise spin, and the clock need not move while the page is held (in virtual time it
// does not move at all).
constexpr double kLongestWaitMs = 20;

double WebNowMs() { return emscripten_get_now(); }

void WebSleepMs(double ms) {
    const double until = emscripten_get_now() + ms;
    double left = ms;
    do {
        emscripten_sleep(static_cast<unsigned>(std::ceil(std::max(1.0, std::min(left, kLongestWaitMs)))));
        LookAfterPage();
        left = until - emscripten_get_now();
    } while (left > 0);
}

const ClockSource kWebClock = {WebNowMs, WebSleepMs};

bool OpenWindowAndRenderer(const RuntimeSettings& settings, const char* title) {
    PlatformState& platform = Platform();
    if (!platform.window.Create()) return false;
    if (!platform.renderer.Start()) {
        platform.window.Destroy();
        return false;
    }
    platform.window.SetPumpHook(LookAfterPage);
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

// The page decides the canvas's size; full screen is the player's choice (Alt+Enter).
void SetupSurfaceStep(const RuntimeSettings&) { Platform().renderer.BeginFrame(); }

// A headless run plays silently, as on the desktop.
void OpenInputAndSoundStep(const RuntimeSettings&) {
    Platform().input.Start();
    SetInputSource(&Platform().input);
    if (!Platform().options.headless) WebSoundOpen(Platform().options.volumePercent / 100.0f);
}

void SetupMouseStep(const RuntimeSettings&) { Platform().input.ShowPointer(true); }

void DestroyWindowStep() {
    PlatformState& platform = Platform();
    SetRenderBackend(nullptr);
    SetWindowBackend(nullptr);
    platform.renderer.Stop();
    platform.window.Destroy();
}

void ShutdownInputStep() {
    Platform().input.Stop();
    SetInputSource(nullptr);
}

}  // namespace

void RegisterPlatformDevices(const PlatformOptions& options) {
    Platform().options = options;
    // The browser's C library starts with a umask that masks every permission: a saved file
    // would then be created unreadable, and the next read of it would fail.
    umask(022);
    // A headless run keeps the clock the program gave it: it never waits.
    if (!options.headless) {
        SetClockSource(&kWebClock);
        SetFrameWait(FrameWait::Sleep);
    }
    DeviceSteps steps;
    FillGfxDeviceSteps(steps);
    steps.createWindow = CreateWindowStep;
    steps.setupSurface = SetupSurfaceStep;
    steps.createDevices = WebSoundCreateSlots;
    steps.openInputAndSound = OpenInputAndSoundStep;
    steps.setupMouse = SetupMouseStep;
    steps.destroyWindow = DestroyWindowStep;
    steps.shutdownInput = ShutdownInputStep;
    steps.shutdownSound = WebSoundShutdown;
    RegisterDeviceSteps(steps);
}

bool OpenPlatform(const PlatformOptions& options, const char* title) {
    if (PlatformOpen()) return true;
    Platform().options = options;
    RuntimeSettings settings;
    settings.fullscreen = 0;
    if (!OpenWindowAndRenderer(settings, title)) return false;
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

bool SaveScreenshot(const std::string& path, std::string* error) {
    std::vector<uint8_t> frame;
    if (!GrabFrame(frame)) {
        if (error) *error = "no frame to save (the canvas is not open)";
        return false;
    }
    return WritePngFile(path, frame.data(), kPictureWidth, kPictureHeight, error);
}
