// The scan-code table: every key of the game's keyboard reaches SDL and comes back unchanged.
#include "platform/scan_codes.h"

#include <gtest/gtest.h>

#include <set>

#include "input/keyboard.h"

namespace {

// The runtime's list of keys (which replays are checked against) and this table agree; the codes
// name positions (the German Z sits where the US keyboard has Y); the ISO key counts as backslash.
TEST(ScanCodeTable, EveryKeyOfTheKeyboardHasItsOwnSdlKeyAtItsPositionAndComesBack) {
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
    const std::pair<int, SDL_Scancode> keys[] = {
        {1, SDL_SCANCODE_ESCAPE}, {14, SDL_SCANCODE_BACKSPACE}, {28, SDL_SCANCODE_RETURN}, {29, SDL_SCANCODE_LCTRL},
        {57, SDL_SCANCODE_SPACE}, {62, SDL_SCANCODE_F4}, {156, SDL_SCANCODE_KP_ENTER}, {200, SDL_SCANCODE_UP},
        {203, SDL_SCANCODE_LEFT}, {205, SDL_SCANCODE_RIGHT}, {208, SDL_SCANCODE_DOWN}, {21, SDL_SCANCODE_Y},
        {44, SDL_SCANCODE_Z}, {86, SDL_SCANCODE_NONUSBACKSLASH}};
    for (const auto& key : keys) EXPECT_EQ(SdlScancodeFromScanCode(key.first), key.second) << key.first;
    for (int code : {0, 84, 129, 255, 1000}) EXPECT_FALSE(IsKeyScanCode(code)) << "scan code " << code;
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_AUDIOPLAY), 0);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_BACKSLASH), 43);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_NONUSHASH), 43);
}

}  // namespace
