// The window's events as the frame sees them: focus changes, the close request ending the program
// through the one exit path, Alt+Enter switching full screen; whole-factor scaling of the picture
// on screens and in framed windows; the keyboard source under SDL and the scan-code table.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "core/errors.h"
#include "gfx/frame.h"
#include "input/keyboard.h"
#include "platform/platform.h"
#include "platform/scan_codes.h"
#include "platform/sdl_input.h"
#include "platform/sdl_window.h"
#include "platform/window_geometry.h"
#include "tests/support/runtime_exit.h"

namespace {

void PushWindowEvent(Uint32 type, SDL_WindowEventID what = SDL_WINDOWEVENT_NONE) {
    SDL_Event event{};
    event.type = type;
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

TEST_F(SdlWindowTest, FocusChangesLastOneWinsAndClosingEndsTheProgramWithTheErrorNumberUnchanged) {
    PushWindowEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(PlatformWindow().PumpEvents().focus, FocusChange::Lost);
    PushWindowEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(PlatformWindow().PumpEvents().focus, FocusChange::Gained);
    EXPECT_EQ(PlatformWindow().PumpEvents().focus, FocusChange::None);
    PushWindowEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(CatchRuntimeExit([] { PresentFrame(); }), 0);
    RecordError(ErrArgumentRange);  // an error recorded before the close keeps its number
    PushWindowEvent(SDL_WINDOWEVENT, SDL_WINDOWEVENT_CLOSE);
    EXPECT_EQ(CatchRuntimeExit([] { PresentFrame(); }), ErrArgumentRange);
    ResetErrorState();
    PushWindowEvent(SDL_QUIT);
    EXPECT_TRUE(PlatformWindow().PumpEvents().closeRequested);
}

TEST_F(SdlWindowTest, AltEnterTogglesFullScreenAndBackOnlyWithAltAndWithoutRepeats) {
    PushKey(SDLK_RETURN, KMOD_NONE);
    PushKey(SDLK_RETURN, KMOD_LCTRL);
    PlatformWindow().PumpEvents();
    ASSERT_FALSE(PlatformWindow().FullScreen());
    const struct {
        Uint16 modifiers;
        Uint8 repeat;
        bool fullScreen;
    } presses[] = {{KMOD_LALT, 0, true}, {KMOD_LALT, 1, true} /* held down: no second toggle */, {KMOD_RALT, 0, false}};
    for (const auto& press : presses) {
        PushKey(SDLK_RETURN, press.modifiers, press.repeat);
        PlatformWindow().PumpEvents();
        EXPECT_EQ(PlatformWindow().FullScreen(), press.fullScreen);
    }
}

// SDL starts with the US layout when no display tells it otherwise.
TEST_F(SdlWindowTest, KeyboardSourceReadsNoKeyHeldAndTypesWhatTheLayoutPutsOnAKey) {
    SdlInput input;
    uint8_t keys[kKeyStateSize];
    std::fill(keys, keys + kKeyStateSize, 0xFF);
    input.Poll(keys);
    EXPECT_EQ(std::count(keys, keys + kKeyStateSize, 0), kKeyStateSize);
    const int layout[][2] = {{30, 'a'}, {21, 'y'}, {44, 'z'}, {2, '1'}, {57, ' '}, {200, 0}, {129, 0}, {-5, 0}};
    for (const auto& key : layout) EXPECT_EQ(input.CharacterOfScanCode(key[0]), key[1]) << key[0];
}

// What name entry can type: characters up to Latin-1, keypad digits only with Num Lock.
TEST(KeyCharacters, LayoutCharactersUpToLatin1AreTypedKeypadDigitsOnlyWithNumLock) {
    const struct {
        SDL_Keycode key;
        bool numLock;
        int typed;
    } cases[] = {
        {'a', false, 'a'}, {'7', false, '7'}, {' ', false, ' '}, {0xFC, false, 0xFC} /* u umlaut */,
        {0xDF, false, 0xDF}, {0x20AC, false, 0} /* euro: no font cell */, {SDLK_DELETE, false, 0},
        {SDLK_UP, false, 0}, {SDLK_F4, false, 0}, {SDLK_UNKNOWN, false, 0},
        {SDLK_KP_5, true, '5'}, {SDLK_KP_0, true, '0'}, {SDLK_KP_9, true, '9'}, {SDLK_KP_PERIOD, true, '.'},
        {SDLK_KP_5, false, 0}, {SDLK_KP_PLUS, false, '+'}, {SDLK_KP_DIVIDE, false, '/'}, {SDLK_KP_ENTER, true, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(CharacterOfKeycode(c.key, c.numLock), c.typed) << c.key << " " << c.numLock;
}

TEST(WindowGeometry, LargestWholeScaleIsLimitedByTheTighterSideAndNeverBelowOne) {
    const int cases[][3] = {{320, 240, 1}, {959, 720, 2}, {960, 720, 3}, {1920, 1080, 4} /* 4.5 */,
                            {3840, 2160, 9}, {1280, 480, 2} /* wide but low */, {200, 150, 1}, {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(LargestWholeScale(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
}

// A framed window leaves room for its frame and the task bar.
TEST(WindowGeometry, FramedWindowFitsComfortably) {
    const int cases[][3] = {{1920, 1080, 4} /* 960 of 1080 high */, {1920, 1040, 3} /* a task bar takes the fourth */,
                            {1024, 768, 2}, {640, 480, 1} /* the exact double would fill the desktop */,
                            {320, 240, 1}, {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(ComfortableWindowScale(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
}

// The spare pixel of an odd border goes below and right.
TEST(WindowGeometry, FullScreenPictureIsCentredOnBlack) {
    const int cases[][7] = {{1920, 1080, 4, 1280, 960, 320, 60}, {960, 720, 3, 960, 720, 0, 0},
                            {645, 485, 2, 640, 480, 2, 2}};
    for (const auto& c : cases) {
        const PictureRect rect = CentredPicture(c[0], c[1]);
        EXPECT_EQ((std::vector<int>{rect.scale, rect.width, rect.height, rect.x, rect.y}),
                  (std::vector<int>{c[2], c[3], c[4], c[5], c[6]})) << c[0] << "x" << c[1];
    }
}

// The runtime's list of keys (which replays are checked against) and this table agree (the keys'
// positions show in the keyboard source test); the ISO key counts as backslash.
TEST(ScanCodeTable, EveryKeyOfTheKeyboardHasItsOwnSdlKeyAndComesBack) {
    std::set<int> sdlCodesSeen;
    for (int code = -1; code <= kScanCodeCount; ++code) {
        const SDL_Scancode sdlCode = SdlScancodeFromScanCode(code);
        ASSERT_EQ(sdlCode != SDL_SCANCODE_UNKNOWN, IsKeyScanCode(code)) << "scan code " << code;
        if (sdlCode == SDL_SCANCODE_UNKNOWN) continue;
        EXPECT_EQ(ScanCodeFromSdlScancode(sdlCode), code);
        EXPECT_TRUE(sdlCodesSeen.insert(sdlCode).second) << "two scan codes share SDL key " << sdlCode;
    }
    for (int sdlCode = 0; sdlCode <= SDL_NUM_SCANCODES; ++sdlCode) {
        const int code = ScanCodeFromSdlScancode(static_cast<SDL_Scancode>(sdlCode));
        if (code == 0 || sdlCode == SDL_SCANCODE_NONUSHASH) continue;
        EXPECT_EQ(SdlScancodeFromScanCode(code), sdlCode) << "SDL key " << sdlCode;
    }
    for (int code : {0, 84, 129, 255, 1000}) EXPECT_FALSE(IsKeyScanCode(code)) << "scan code " << code;
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_AUDIOPLAY), 0);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_BACKSLASH), 43);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_NONUSHASH), 43);
}

}  // namespace
