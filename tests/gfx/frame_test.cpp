// Frame presentation: due-time arithmetic, the wait for the frame slot, quit keys, close and
// focus events, the background picture and its error-log lines, the timing commands.
#include "gfx/frame.h"

#include "core/clock.h"
#include "core/errors.h"
#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "gfx_fixture.h"
#include "input/keyboard.h"
#include "picture_files.h"
#include "tests/support/runtime_exit.h"

namespace {

using Frames = GfxTest;

// A late frame skips the slots it missed; a limit of zero or below (after truncation) means 2 ms.
TEST_F(Frames, FirstFrameIsNotDelayedALateOneSkipsMissedSlotsAndTheNextWaitsForItsSlot) {
    PresentFrame();
    EXPECT_LT(ClockNowMs(), 1000.1);
    ticking_clock::Advance(1040 - ClockNowMs());
    PresentFrame();
    EXPECT_LT(ClockNowMs(), 1040.1);
    EXPECT_NEAR(NextFrameDueMs(), 1050, 0.01);
    PresentFrame();
    EXPECT_GT(ClockNowMs(), 1050);
    EXPECT_LT(ClockNowMs(), 1050.1);
    EXPECT_NEAR(AdvanceDueTime(100, 2, 100.5), 102, 1e-9);
    const double limits[][2] = {{60, 1000.0 / 60}, {0, 2}, {-30, 2}, {0.9, 2}};
    for (const auto& limit : limits) {
        SetFrameLimit(limit[0]);
        EXPECT_NEAR(FrameIntervalMs(), limit[1], 1e-9) << limit[0];
    }
    manual_clock::Install(0);  // sleeps last whole milliseconds
    SleepMs(12.9);
    SleepMs(-5);
    EXPECT_EQ(ClockNowMs(), 12);
}

TEST_F(Frames, HybridWaitSleepsMostOfTheSlotPumpingEventsBusyWaitNeverSleeps) {
    for (FrameWait wait : {FrameWait::Hybrid, FrameWait::Busy}) {
        SetFrameWait(wait);
        PresentFrame();
        const double start = ClockNowMs();
        const int sleepsBefore = ticking_clock::SleepCount(), pumpsBefore = window.pumpCount;
        PresentFrame();
        EXPECT_NEAR(ClockNowMs() - start, FrameIntervalMs(), 0.1);
        EXPECT_EQ(ticking_clock::SleepCount() > sleepsBefore, wait == FrameWait::Hybrid);
        EXPECT_GT(window.pumpCount - pumpsBefore, 3);
    }
}

TEST_F(Frames, QuitKeysEndTheProgramBeforeTheFrameIsShown) {
    for (int key : {ScanEscape, ScanAltEscape}) {  // only while escape quits
        input.SetKeyDown(key, true);
        SetEscapeQuits(1);
        const int presented = renderer.presentCount;
        EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
        EXPECT_EQ(renderer.presentCount, presented);
        SetEscapeQuits(0);
        EXPECT_NO_RUNTIME_EXIT(PresentFrame());
        input.SetKeyDown(key, false);
    }
    input.SetKeyDown(ScanLeftAlt, true);  // left Alt with F4 always
    EXPECT_NO_RUNTIME_EXIT(PresentFrame());
    input.SetKeyDown(ScanF4, true);
    EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
    input.SetKeyDown(ScanF4, false);
}

TEST_F(Frames, LosingFocusPausesUntilItReturnsUnlessTheWindowKeepsTheForeground) {
    window.queued.push_back(WindowEvents{false, FocusChange::Lost});
    PresentFrame();
    EXPECT_TRUE(FramePaused());
    EXPECT_EQ(window.title, "TumbrelDemo <pause>");
    window.queued.insert(window.queued.end(), {WindowEvents{}, WindowEvents{}, WindowEvents{false, FocusChange::Gained}});
    const double before = ClockNowMs();
    PresentFrame();
    EXPECT_FALSE(FramePaused());
    EXPECT_EQ(window.title, "TumbrelDemo");
    EXPECT_GE(ClockNowMs() - before, 300);

    SetKeepForeground(true);
    window.queued.push_back(WindowEvents{false, FocusChange::Lost});
    PresentFrame();
    EXPECT_FALSE(FramePaused());
    EXPECT_EQ(window.raiseCount, 1);
}

class BackgroundPicture : public Frames {
protected:
    std::string LoadAndLog(const std::string& name, double expected) {
        DeleteErrorLog();
        EXPECT_EQ(LoadPicture(MediaFile(name).c_str()), expected) << name;
        return ReadFileText(ErrorLogPath());
    }
    ScopedTempDir logDir_;
    ScopedEnv tmpDir_{"TMPDIR", logDir_.path()};
};

TEST_F(BackgroundPicture, FailuresLogWhyAndLeaveAClearedScreenAGoodOneIsCutIntoTilesDrawnUnderEveryFrame) {
    WriteFileBytes(MediaFile("broken.bmp"), {'B', 'M', 1, 2, 3});
    const int clears = renderer.colourClearCount;
    EXPECT_EQ(LoadAndLog("nothing.png", 0), "Loadbmp\r\nVorerading\r\nfailed\r\n");
    EXPECT_GT(renderer.colourClearCount, clears);
    EXPECT_EQ(LoadAndLog("broken.bmp", 0), "Loadbmp\r\nVorerading\r\nOK?\r\n");
    EXPECT_TRUE(renderer.draws.empty());

    // A good one is cut into tiles drawn at once and under every frame until cleared.
    renderer.maxTextureSize = 128;
    // Magenta stays opaque: the background has no colour key.
    WriteFileBytes(MediaFile("menu.bmp"), SolidBmp(320, 200, 0xFF0080));
    EXPECT_EQ(LoadAndLog("menu.bmp", 1), "Loadbmp\r\nVorerading\r\nOK?\r\n");
    ASSERT_EQ(renderer.draws.size(), 6u);  // 3 columns x 2 rows of 128, the last ones partly clear
    EXPECT_FALSE(renderer.draws[5].alphaTest);
    EXPECT_EQ(renderer.draws[5].tag.kind, DrawKind::Background);
    EXPECT_FLOAT_EQ(renderer.draws[5].tag.x, 256);
    EXPECT_FLOAT_EQ(renderer.draws[5].tag.y, 128);
    // The last tile holds the picture's 64 x 72 corner, its top row in the texture's last row.
    const std::vector<uint8_t>& corner = renderer.textures.rbegin()->second.rgba;
    EXPECT_EQ(PixelAt(corner, 128, 63, 127), Rgba(255, 0, 128, 255));
    EXPECT_EQ(PixelAt(corner, 128, 64, 127) & 0xFF, 0u);
    EXPECT_EQ(PixelAt(corner, 128, 0, 128 - 73) & 0xFF, 0u);

    LoadFont(MediaFile("missing.bmp").c_str(), 0);
    PrintText("X", 0, 0);
    PresentFrame();
    ASSERT_EQ(renderer.presentedDraws.size(), 7u);
    EXPECT_EQ(renderer.presentedDraws[6].tag.kind, DrawKind::Text);
    EXPECT_EQ(renderer.draws.size(), 6u) << "the next frame starts on the background";
    ClearScreen();
    PresentFrame();
    EXPECT_TRUE(renderer.draws.empty());
}

}  // namespace
