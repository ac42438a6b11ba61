// The window's events as the frame sees them: focus changes, the close request ending the program
// through the one exit path, Alt+Enter switching full screen; and the keyboard source under SDL.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "core/errors.h"
#include "gfx/frame.h"
#include "platform/platform.h"
#include "platform/sdl_input.h"
#include "platform/sdl_window.h"
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

}  // namespace
