#include "gfx_fixture.h"

#include "core/clock.h"
#include "core/media_archive.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"

namespace ticking_clock {
namespace {
double gNowMs = 0;
int gSleeps = 0;
double NowMs() { return gNowMs += 0.001; }
void SleepMs(double ms) {
    ++gSleeps;
    if (ms > 0) gNowMs += ms;
}
const ClockSource kTickingClock = {NowMs, SleepMs};
}  // namespace

void Install(double startMs) {
    gNowMs = startMs;
    gSleeps = 0;
    SetClockSource(&kTickingClock);
}
void Advance(double ms) { gNowMs += ms; }
int SleepCount() { return gSleeps; }
}  // namespace ticking_clock

void GfxTest::SetUp() {
    ticking_clock::Install(1000);
    SetRenderBackend(&renderer);
    ResetSpriteTable();
    SetWindowBackend(&window);
    SetInputSource(&input);
    ResetTypedCharMemory();
    SetFont(0);
    SetFrameTitle("TumbrelDemo");
    SetKeepForeground(false);
    SetPauseAllowed(true);
    SetEscapeQuits(1);
    SetFrameWait(FrameWait::Hybrid);
    ClearScreen();
    StartFrameClock(60);
    ResetFrameClock();
    CreateMediaArchiveSlots(media_.path());
}

void GfxTest::TearDown() {
    ClearScreen();
    ResetSpriteTable();
    SetRenderBackend(nullptr);
    SetWindowBackend(nullptr);
    SetInputSource(nullptr);
    SetClockSource(nullptr);
}
