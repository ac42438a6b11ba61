// The scan-code table: every key of the game's keyboard reaches SDL and comes back unchanged.
#include "platform/scan_codes.h"

#include <gtest/gtest.h>

#include <set>

#include "input/keyboard.h"

namespace {

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
