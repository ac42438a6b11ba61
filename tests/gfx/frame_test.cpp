// Frame presentation: due-time arithmetic, the wait for the frame slot, quit keys, close and
// focus events, the background picture and its error-log lines, the timing commands.
#include "gfx/frame.h"

#include <cstdlib>

#include "core/clock.h"
#include "core/errors.h"
#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "gfx_fixture.h"
#include "input/keyboard.h"
#include "picture_files.h"
#include "tests/support/runtime_exit.h"

namespace {

class Frames : public GfxTest {
protected:
    void UseTickingClock(double startMs) {
        ticking_clock::Install(startMs);
        StartFrameClock(60);
        ResetFrameClock();
    }
    void Advance(double ms) { ticking_clock::Advance(ms); }
};

TEST(DueTime, LateFrameSkipsMissedSlotsInsteadOfBursting) {
    EXPECT_NEAR(AdvanceDueTime(1000.0 / 60, 1000.0 / 60, 40), 50, 1e-9);
    EXPECT_NEAR(AdvanceDueTime(1000.0 / 60, 1000.0 / 60, 20), 2000.0 / 60, 1e-9);
    EXPECT_NEAR(AdvanceDueTime(100, 2, 100.5), 102, 1e-9);
}

TEST_F(Frames, LimitsOfZeroOrBelowMeanTwoMilliseconds) {
    SetFrameLimit(60);
    EXPECT_NEAR(FrameIntervalMs(), 16.6667, 1e-4);
    SetFrameLimit(0);
    EXPECT_EQ(FrameIntervalMs(), 2.0);
    SetFrameLimit(-30);
    EXPECT_EQ(FrameIntervalMs(), 2.0);
    SetFrameLimit(0.9);  // truncated to 0
    EXPECT_EQ(FrameIntervalMs(), 2.0);
}

TEST_F(Frames, WindowIntervalIsComputedInSinglePrecision) {
    StartFrameClock(60);
    EXPECT_EQ(FrameIntervalMs(), static_cast<double>(1000.0f / 60));
    StartFrameClock(0);
    EXPECT_EQ(FrameIntervalMs(), 2.0);
}

TEST_F(Frames, FirstFrameIsNotDelayedAndTheNextWaitsForItsSlot) {
    UseTickingClock(1000);
    PresentFrame();
    EXPECT_LT(ClockNowMs() - 1000, 0.1);
    PresentFrame();
    double interval = FrameIntervalMs();
    EXPECT_GT(ClockNowMs(), 1000 + interval);
    EXPECT_LT(ClockNowMs(), 1000 + interval + 0.1);
    EXPECT_NEAR(NextFrameDueMs(), 1000 + 2 * interval, 0.01);
}

TEST_F(Frames, LateFrameIsShownAtOnceAndTheDueTimeSkipsAhead) {
    UseTickingClock(0);
    PresentFrame();  // released at the due time 0; next due 16.67
    Advance(40 - ClockNowMs());
    PresentFrame();
    EXPECT_LT(ClockNowMs(), 40.1);
    EXPECT_NEAR(NextFrameDueMs(), 50, 0.01);
}

TEST_F(Frames, HybridWaitSleepsMostOfTheSlotBusyWaitNever) {
    for (FrameWait wait : {FrameWait::Hybrid, FrameWait::Busy}) {
        UseTickingClock(0);
        SetFrameWait(wait);
        PresentFrame();
        int sleepsBefore = ticking_clock::SleepCount();
        PresentFrame();
        EXPECT_NEAR(ClockNowMs(), FrameIntervalMs(), 0.1);
        if (wait == FrameWait::Hybrid) {
            EXPECT_GT(ticking_clock::SleepCount(), sleepsBefore);
        } else {
            EXPECT_EQ(ticking_clock::SleepCount(), sleepsBefore);
        }
    }
}

TEST_F(Frames, WindowEventsArePumpedWhileWaiting) {
    UseTickingClock(0);
    PresentFrame();
    int pumpsBefore = window.pumpCount;
    PresentFrame();
    EXPECT_GT(window.pumpCount - pumpsBefore, 3);
}

TEST_F(Frames, EscapeOrCode129EndTheProgramOnlyWhileEscapeQuits) {
    UseTickingClock(0);
    for (int key : {ScanEscape, ScanAltEscape}) {
        input.SetKeyDown(key, true);
        SetEscapeQuits(1);
        EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
        SetEscapeQuits(0);
        EXPECT_NO_RUNTIME_EXIT(PresentFrame());
        input.SetKeyDown(key, false);
    }
}

TEST_F(Frames, LeftAltWithF4AlwaysEndsTheProgram) {
    UseTickingClock(0);
    SetEscapeQuits(0);
    input.SetKeyDown(ScanLeftAlt, true);
    EXPECT_NO_RUNTIME_EXIT(PresentFrame());
    input.SetKeyDown(ScanF4, true);
    EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
}

TEST_F(Frames, QuitKeysAreReadBeforeTheFrameIsShown) {
    UseTickingClock(0);
    input.SetKeyDown(ScanEscape, true);
    CatchRuntimeExit([] { PresentFrame(); });
    EXPECT_EQ(renderer.presentCount, 0);
}

TEST_F(Frames, ScriptedKeysMoveOnWithEachPresentedFrame) {
    UseTickingClock(0);
    input.PressKeyAt(ScanEscape, 3);
    EXPECT_NO_RUNTIME_EXIT(PresentFrame());  // frame 1
    EXPECT_NO_RUNTIME_EXIT(PresentFrame());  // frame 2
    EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
}

TEST_F(Frames, CloseRequestEndsTheProgram) {
    UseTickingClock(0);
    window.queued.push_back(WindowEvents{true, FocusChange::None});
    EXPECT_RUNTIME_ERROR(PresentFrame(), 0);
}

TEST_F(Frames, LosingFocusPausesUntilItReturns) {
    UseTickingClock(0);
    window.queued.push_back(WindowEvents{false, FocusChange::Lost});
    PresentFrame();
    EXPECT_TRUE(FramePaused());
    EXPECT_EQ(window.title, "TumbrelDemo <pause>");
    window.queued.push_back(WindowEvents{});
    window.queued.push_back(WindowEvents{});
    window.queued.push_back(WindowEvents{false, FocusChange::Gained});
    double before = ClockNowMs();
    PresentFrame();
    EXPECT_FALSE(FramePaused());
    EXPECT_EQ(window.title, "TumbrelDemo");
    EXPECT_GE(ClockNowMs() - before, 300);
}

TEST_F(Frames, KeepForegroundRaisesTheWindowAndNeverPauses) {
    UseTickingClock(0);
    SetKeepForeground(true);
    window.queued.push_back(WindowEvents{false, FocusChange::Lost});
    PresentFrame();
    EXPECT_FALSE(FramePaused());
    EXPECT_EQ(window.raiseCount, 1);
    EXPECT_EQ(window.title, "");
}

TEST_F(Frames, FrameDurationAndTimer) {
    UseTickingClock(500);
    EXPECT_EQ(FrameDuration(), 1.0);  // both readings equal
    EXPECT_NEAR(ReadTimer(), 0, 0.01);
    Advance(25);
    PresentFrame();
    Advance(10);
    PresentFrame();
    EXPECT_NEAR(FrameDuration(), 10, 0.01);
    EXPECT_NEAR(ReadTimer(), 35, 0.1);
}

TEST_F(Frames, SleepMsTruncatesAndIgnoresNegatives) {
    manual_clock::Install(0);
    SleepMs(12.9);
    EXPECT_EQ(ClockNowMs(), 12);
    SleepMs(-5);
    EXPECT_EQ(ClockNowMs(), 12);
}

class BackgroundPicture : public Frames {
protected:
    void SetUp() override {
        Frames::SetUp();
        const char* previous = std::getenv("TMPDIR");
        previousTmp_ = previous ? previous : "";
        hadTmp_ = previous != nullptr;
        setenv("TMPDIR", logDir_.path().c_str(), 1);
        DeleteErrorLog();
    }
    void TearDown() override {
        if (hadTmp_) {
            setenv("TMPDIR", previousTmp_.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
        Frames::TearDown();
    }
    std::string ErrorLog() { return ReadFileText(ErrorLogPath()); }

    ScopedTempDir logDir_;
    std::string previousTmp_;
    bool hadTmp_ = false;
};

TEST_F(BackgroundPicture, MissingFileLogsFailedAndLeavesAClearedScreen) {
    int clears = renderer.colourClearCount;
    EXPECT_EQ(LoadPicture(MediaFile("nothing.png").c_str()), 0.0);
    EXPECT_EQ(ErrorLog(), "Loadbmp\r\nVorerading\r\nfailed\r\n");
    EXPECT_GT(renderer.colourClearCount, clears);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(BackgroundPicture, UndecodableFileLogsOkAndClears) {
    std::string path = MediaFile("broken.bmp");
    WriteBytes(path, {'B', 'M', 1, 2, 3});
    EXPECT_EQ(LoadPicture(path.c_str()), 0.0);
    EXPECT_EQ(ErrorLog(), "Loadbmp\r\nVorerading\r\nOK?\r\n");
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(BackgroundPicture, IsCutIntoTilesDrawnAtOnceAndAfterEverySwap) {
    UseTickingClock(0);
    renderer.maxTextureSize = 128;
    std::string path = MediaFile("menu.bmp");
    // Magenta stays opaque: the background has no colour key.
    WriteBytes(path, BmpBytes({320, 240, 24, false, {}, std::vector<uint32_t>(320 * 240, 0xFF0080)}));
    ASSERT_EQ(LoadPicture(path.c_str()), 1.0);
    EXPECT_EQ(ErrorLog(), "Loadbmp\r\nVorerading\r\nOK?\r\n");
    ASSERT_EQ(renderer.draws.size(), 6u);  // 3 columns x 2 rows of 128
    EXPECT_FALSE(renderer.draws[0].alphaTest);
    EXPECT_EQ(renderer.draws[0].tag.kind, DrawKind::Background);
    EXPECT_FLOAT_EQ(renderer.draws[5].tag.x, 256);
    EXPECT_FLOAT_EQ(renderer.draws[5].tag.y, 128);

    PresentFrame();
    ASSERT_EQ(renderer.draws.size(), 6u);
    EXPECT_EQ(renderer.draws[0].tag.kind, DrawKind::Background);
    std::vector<uint8_t> frame;
    ASSERT_TRUE(GrabFrame(frame));
    EXPECT_EQ(PixelAt(frame, 320, 0, 0), Rgba(255, 0, 128, 255));
    EXPECT_EQ(PixelAt(frame, 320, 319, 239), Rgba(255, 0, 128, 255));

    ClearScreen();
    PresentFrame();
    EXPECT_TRUE(renderer.draws.empty());
    EXPECT_TRUE(renderer.textures.empty());
}

TEST_F(BackgroundPicture, FrameContentIsPresentedThenTheBackgroundUnderliesTheNext) {
    UseTickingClock(0);
    std::string path = MediaFile("menu.bmp");
    WriteBytes(path, BmpBytes({4, 4, 24, false, {}, std::vector<uint32_t>(16, 0x102030)}));
    LoadPicture(path.c_str());
    LoadFont(MediaFile("missing.bmp").c_str(), 0);
    PrintText("X", 0, 0);
    PresentFrame();
    ASSERT_EQ(renderer.presentedDraws.size(), 2u);
    EXPECT_EQ(renderer.presentedDraws[0].tag.kind, DrawKind::Background);
    EXPECT_EQ(renderer.presentedDraws[1].tag.kind, DrawKind::Text);
    ASSERT_EQ(renderer.draws.size(), 1u);
}

}  // namespace
