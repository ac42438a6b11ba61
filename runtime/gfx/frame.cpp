// PresentFrame and the frame clock: quit keys, the focus pause, the swap, the wait for the frame
// slot and the preparation of the next frame.
#include "gfx/frame.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/clock.h"
#include "core/errors.h"
#include "core/media_archive.h"
#include "gfx/background.h"
#include "gfx/sprite_slots.h"
#include "input/keyboard.h"

namespace {

constexpr double kPauseSleepMs = 100;
constexpr double kUnlimitedIntervalMs = 2.0;
// The hybrid wait sleeps until this close to the due time and spins the rest on the clock alone:
// a sleep on a quiet machine wakes up late by some tens of microseconds, the spin is exact.
constexpr double kSpinMarginMs = 0.1;
// Events are pumped at least this often while sleeping.
constexpr double kLongestSleepMs = 8.0;
const char* const kPauseSuffix = " <pause>";

// The window until the platform installs one: no events, nothing to show.
class QuietWindow : public WindowBackend {
public:
    WindowEvents PumpEvents() override { return {}; }
    void SetTitle(const char*) override {}
    void BringToFront() override {}
};

struct FrameClock {
    QuietWindow quietWindow;
    WindowBackend* window = &quietWindow;
    std::string title = "Pilcrow";
    double startTime = 0;
    double frameTime = 0;
    double previousFrameTime = 0;
    double nextDue = 0;
    double interval = static_cast<double>(1000.0f / 60);
    bool escapeQuits = true;
    bool paused = false;
    bool keepForeground = false;
    bool pauseAllowed = true;
    FrameWait wait = FrameWait::Hybrid;
    FramePresentedHook presented;
};

FrameClock& Frames() {
    static FrameClock clock;
    return clock;
}

void HandleWindowEvents(const WindowEvents& events) {
    FrameClock& frames = Frames();
    if (events.closeRequested) RuntimeErrorExit();
    if (events.focus == FocusChange::None || frames.keepForeground || !frames.pauseAllowed) return;
    frames.paused = events.focus == FocusChange::Lost;
    std::string title = frames.paused ? frames.title + kPauseSuffix : frames.title;
    frames.window->SetTitle(title.c_str());
}

void PumpWindow() { HandleWindowEvents(Frames().window->PumpEvents()); }

void WaitWhilePaused() {
    while (Frames().paused) {
        PumpWindow();
        ClockSleepMs(kPauseSleepMs);
    }
}

void EndOnQuitKeys() {
    bool escape = KeyWasDown(ScanEscape) || KeyWasDown(ScanAltEscape);
    if (Frames().escapeQuits && escape) EndProgram();
    if (KeyWasDown(ScanLeftAlt) && KeyWasDown(ScanF4)) EndProgram();
}

// Returns the clock reading that released the frame.
double WaitForFrameSlot() {
    FrameClock& frames = Frames();
    for (;;) {
        PumpWindow();
        double now = ClockNowMs();
        double remaining = frames.nextDue - now;
        if (remaining < 0) return now;
        if (frames.wait == FrameWait::Busy) continue;
        if (frames.wait == FrameWait::Sleep) {
            ClockSleepMs(std::min(remaining, kLongestSleepMs));
            continue;
        }
        if (remaining > kSpinMarginMs) {
            ClockSleepMs(std::min(remaining - kSpinMarginMs, kLongestSleepMs));
            continue;
        }
        while (now <= frames.nextDue) now = ClockNowMs();
        return now;
    }
}

void ShowFrameAndWait() {
    FrameClock& frames = Frames();
    const bool drawNext = !frames.presented || frames.presented();
    Setup2D();
    CurrentRenderer().Present();
    SetFrameDrawn(drawNext);
    CurrentRenderer().Clear(ClearColour | ClearDepth);
    double releasedAt = WaitForFrameSlot();
    frames.nextDue = AdvanceDueTime(frames.nextDue, frames.interval, releasedAt);
}

}  // namespace

double AdvanceDueTime(double dueMs, double intervalMs, double nowMs) {
    dueMs += intervalMs;
    if (intervalMs > 0) {
        while (nowMs > dueMs) dueMs += intervalMs;
    }
    return dueMs;
}

void PresentFrame() {
    FrameClock& frames = Frames();
    if (frames.keepForeground) frames.window->BringToFront();
    frames.previousFrameTime = frames.frameTime;
    frames.frameTime = ClockNowMs();
    WaitWhilePaused();
    MarkInputFrame();
    PollInput();
    EndOnQuitKeys();
    PumpWindow();
    ShowFrameAndWait();
    // The next frame starts from white, unblended, on top of the background picture.
    Setup2D();
    if (HasBackground()) DrawBackground();
    Setup2D();
}

void SetFrameLimit(double framesPerSecond) {
    int fps = TruncateToInt32(framesPerSecond);
    Frames().interval = fps > 0 ? 1000.0 / fps : kUnlimitedIntervalMs;
}

void ClearScreen() {
    DeleteBackground();
    CurrentRenderer().Clear(ClearColour);
}

double LoadPicture(const char* fileName) {
    AppendErrorLog("Loadbmp");
    AppendErrorLog("Vorerading");
    std::string path;
    Picture picture;
    if (!ResolveMediaFile(MediaSlotMedia, fileName, path)) {
        AppendErrorLog("failed");
        ClearScreen();
        return 0;
    }
    AppendErrorLog("OK?");
    if (!DecodePictureFile(path, kNoColourKey, picture) || !SetBackgroundPicture(picture)) {
        ClearScreen();
        return 0;
    }
    DrawBackground();
    return 1;
}

double LoadPicture(const RtString& fileName) { return LoadPicture(StrChars(fileName)); }

void SleepMs(double milliseconds) {
    int ms = TruncateToInt32(milliseconds);
    if (ms > 0) ClockSleepMs(ms);
}

double ReadTimer() { return ClockNowMs() - Frames().startTime; }

double FrameDuration() {
    double duration = Frames().frameTime - Frames().previousFrameTime;
    return duration > 0 ? duration : 1.0;
}

void SetEscapeQuits(double flag) { Frames().escapeQuits = flag != 0; }

void SetWindowBackend(WindowBackend* window) {
    Frames().window = window ? window : &Frames().quietWindow;
}

void SetFrameTitle(const char* title) { Frames().title = title; }
void SetKeepForeground(bool keep) { Frames().keepForeground = keep; }
void SetPauseAllowed(bool allowed) { Frames().pauseAllowed = allowed; }
void SetFrameWait(FrameWait wait) { Frames().wait = wait; }
void SetFramePresentedHook(FramePresentedHook hook) { Frames().presented = std::move(hook); }

void StartFrameClock(int framesPerSecond) {
    FrameClock& frames = Frames();
    frames.interval = framesPerSecond > 0 ? static_cast<double>(1000.0f / framesPerSecond) : kUnlimitedIntervalMs;
    frames.nextDue = ClockNowMs();
    frames.paused = false;
}

void ResetFrameClock() {
    double now = ClockNowMs();
    Frames().startTime = Frames().frameTime = Frames().previousFrameTime = now;
}

double FrameIntervalMs() { return Frames().interval; }
double NextFrameDueMs() { return Frames().nextDue; }
bool FramePaused() { return Frames().paused; }

bool GrabFrame(std::vector<uint8_t>& rgbaTopDown) {
    rgbaTopDown.assign(static_cast<size_t>(kLogicalWidth) * kLogicalHeight * 4, 0);
    return CurrentRenderer().ReadFrame(rgbaTopDown.data());
}
