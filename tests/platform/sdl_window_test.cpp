// The window's events as the frame sees them: focus changes, the close request ending the program
// through the one exit path, Alt+Enter switching full screen; and the keyboard source under SDL.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "core/errors.h"
#include "gfx/frame.h"
#include "platform/platform.h"
#include "platform/sdl_input.h"
#include "platform/sdl_window.h"
#include "tests/support/runtime_exit.h"

namespace {

void PushWindowEvent(SDL_WindowEventID what) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.event = what;
    SDL_PushEvent(&event);
}

void PushKey(SDL_Keycode key, Uint16 modifiers, Uint8 repeat = 0) {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.repeat = repeat;
    event.key.keysym.sym = key;
    event.key.keysym.mod = modifiers;
    SDL_PushEvent(&event);
}

// A visible framed window: the offscreen driver accepts full screen without a display.
class SdlWindowTest : public testing::Test {
protected:
    void SetUp() override {
        PlatformOptions options;
        options.display = PlatformOptions::Display::Windowed;
        options.windowScale = 1;
        options.vsync = false;
        if (!OpenPlatform(options, "TumbrelDemo")) GTEST_SKIP() << "no OpenGL window could be created";
        PlatformWindow().PumpEvents();  // whatever opening the window queued
    }
    void TearDown() override { ClosePlatform(); }
};

TEST_F(SdlWindowTest, FocusChangesAreReportedLastOneWins) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(PlatformWindow().PumpEvents().focus, FocusChange::Lost);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    WindowEvents events = PlatformWindow().PumpEvents();
    EXPECT_EQ(events.focus, FocusChange::Gained);
    EXPECT_FALSE(events.closeRequested);
    EXPECT_EQ(PlatformWindow().PumpEvents().focus, FocusChange::None);
}

TEST_F(SdlWindowTest, ClosingTheWindowEndsTheProgramWithTheErrorNumberUnchanged) {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(CatchRuntimeExit([] { PresentFrame(); }), 0);

    RecordError(ErrArgumentRange);  // an error recorded before the close keeps its number
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(CatchRuntimeExit([] { PresentFrame(); }), ErrArgumentRange);
    ResetErrorState();
}

TEST_F(SdlWindowTest, QuitRequestCountsAsClosing) {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_TRUE(PlatformWindow().PumpEvents().closeRequested);
}

TEST_F(SdlWindowTest, AltEnterTogglesFullScreenAndBack) {
    ASSERT_FALSE(PlatformWindow().FullScreen());
    PushKey(SDLK_RETURN, KMOD_LALT);
    PlatformWindow().PumpEvents();
    EXPECT_TRUE(PlatformWindow().FullScreen());
    PushKey(SDLK_RETURN, KMOD_LALT, 1);  // held down: no second toggle
    PlatformWindow().PumpEvents();
    EXPECT_TRUE(PlatformWindow().FullScreen());
    PushKey(SDLK_RETURN, KMOD_RALT);
    PlatformWindow().PumpEvents();
    EXPECT_FALSE(PlatformWindow().FullScreen());
}

TEST_F(SdlWindowTest, ReturnWithoutAltLeavesTheWindowAlone) {
    PushKey(SDLK_RETURN, KMOD_NONE);
    PushKey(SDLK_RETURN, KMOD_LCTRL);
    PlatformWindow().PumpEvents();
    EXPECT_FALSE(PlatformWindow().FullScreen());
}

TEST_F(SdlWindowTest, KeyboardSourceReadsNoKeyWhenNoneIsHeld) {
    SdlInput input;
    uint8_t keys[kKeyStateSize];
    std::fill(keys, keys + kKeyStateSize, 0xFF);
    input.Poll(keys);
    for (int code = 0; code < kKeyStateSize; ++code) EXPECT_EQ(keys[code], 0) << "scan code " << code;
}

// SDL starts with the US layout when no display tells it otherwise.
TEST_F(SdlWindowTest, KeyboardSourceTypesWhatTheLayoutPutsOnAKey) {
    SdlInput input;
    EXPECT_EQ(input.CharacterOfScanCode(30), 'a');
    EXPECT_EQ(input.CharacterOfScanCode(21), 'y');
    EXPECT_EQ(input.CharacterOfScanCode(2), '1');
    EXPECT_EQ(input.CharacterOfScanCode(57), ' ');
    EXPECT_EQ(input.CharacterOfScanCode(200), 0);
    EXPECT_EQ(input.CharacterOfScanCode(129), 0);
    EXPECT_EQ(input.CharacterOfScanCode(-5), 0);
}

}  // namespace
