// A clean gfx runtime for each test: a recording renderer, empty slots, the default fonts and
// keys, a scripted window and input, a ticking clock and a private media directory.
#pragma once
#include <gtest/gtest.h>

#include <string>

#include "core/clock.h"
#include "core/media_archive.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "tests/support/recording_renderer.h"
#include "tests/support/scripted_input.h"
#include "tests/support/scripted_window.h"
#include "tests/support/temp_files.h"

// A clock that moves a microsecond on every reading, so spinning waits end; sleeps are counted.
namespace ticking_clock {
inline double gNowMs = 0;
inline int gSleeps = 0;
inline double NowMs() { return gNowMs += 0.001; }
inline void SleepMs(double ms) {
    ++gSleeps;
    if (ms > 0) gNowMs += ms;
}
inline const ClockSource kClock = {NowMs, SleepMs};
inline void Advance(double ms) { gNowMs += ms; }
inline int SleepCount() { return gSleeps; }
}  // namespace ticking_clock

// x, y, u, v of every corner of a draw, in order.
inline std::vector<float> CornerValues(const RecordingRenderer::Draw& draw) {
    std::vector<float> values;
    for (const QuadCorner& c : draw.corners) values.insert(values.end(), {c.x, c.y, c.u, c.v});
    return values;
}

class GfxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ticking_clock::gNowMs = 1000;
        ticking_clock::gSleeps = 0;
        SetClockSource(&ticking_clock::kClock);
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
    void TearDown() override {
        ClearScreen();
        ResetSpriteTable();
        SetRenderBackend(nullptr);
        SetWindowBackend(nullptr);
        SetInputSource(nullptr);
        SetClockSource(nullptr);
    }
    std::string MediaFile(const std::string& name) const { return media_.File(name); }

    RecordingRenderer renderer;
    ScriptedWindow window;
    ScriptedInput input;

private:
    ScopedTempDir media_;
};
