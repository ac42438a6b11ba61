// The scan-code table: every key of the game's keyboard reaches SDL and comes back unchanged.
#include "platform/scan_codes.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

// Every key of the keyboard table the game's runtime knows (without its entry for code 0).
std::vector<int> KeyboardScanCodes() {
    std::vector<int> codes;
    for (int code = 1; code <= 83; ++code) codes.push_back(code);
    for (int code : {86, 87, 88, 156, 157, 181, 184, 199, 200, 201, 203, 205, 207, 208, 209, 210, 211,
                     219, 220, 221})
        codes.push_back(code);
    return codes;
}

TEST(ScanCodeTable, EveryKeyOfTheKeyboardHasAnSdlKeyAndComesBack) {
    std::set<int> sdlCodesSeen;
    for (int code : KeyboardScanCodes()) {
        SDL_Scancode sdlCode = SdlScancodeFromScanCode(code);
        ASSERT_NE(sdlCode, SDL_SCANCODE_UNKNOWN) << "scan code " << code;
        EXPECT_EQ(ScanCodeFromSdlScancode(sdlCode), code);
        EXPECT_TRUE(sdlCodesSeen.insert(sdlCode).second) << "two scan codes share SDL key " << sdlCode;
    }
}

TEST(ScanCodeTable, EverySdlKeyThatHasACodeMapsBackToItself) {
    for (int sdlCode = 0; sdlCode < SDL_NUM_SCANCODES; ++sdlCode) {
        int code = ScanCodeFromSdlScancode(static_cast<SDL_Scancode>(sdlCode));
        if (code == 0 || sdlCode == SDL_SCANCODE_NONUSHASH) continue;
        EXPECT_EQ(SdlScancodeFromScanCode(code), sdlCode) << "SDL key " << sdlCode;
    }
}

TEST(ScanCodeTable, KeysTheGameAndTheRuntimeAskFor) {
    EXPECT_EQ(SdlScancodeFromScanCode(1), SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(SdlScancodeFromScanCode(14), SDL_SCANCODE_BACKSPACE);
    EXPECT_EQ(SdlScancodeFromScanCode(28), SDL_SCANCODE_RETURN);
    EXPECT_EQ(SdlScancodeFromScanCode(42), SDL_SCANCODE_LSHIFT);
    EXPECT_EQ(SdlScancodeFromScanCode(54), SDL_SCANCODE_RSHIFT);
    EXPECT_EQ(SdlScancodeFromScanCode(56), SDL_SCANCODE_LALT);
    EXPECT_EQ(SdlScancodeFromScanCode(57), SDL_SCANCODE_SPACE);
    EXPECT_EQ(SdlScancodeFromScanCode(62), SDL_SCANCODE_F4);
    EXPECT_EQ(SdlScancodeFromScanCode(156), SDL_SCANCODE_KP_ENTER);
    EXPECT_EQ(SdlScancodeFromScanCode(200), SDL_SCANCODE_UP);
    EXPECT_EQ(SdlScancodeFromScanCode(203), SDL_SCANCODE_LEFT);
    EXPECT_EQ(SdlScancodeFromScanCode(205), SDL_SCANCODE_RIGHT);
    EXPECT_EQ(SdlScancodeFromScanCode(208), SDL_SCANCODE_DOWN);
}

// The codes name positions: the German Z sits where the US keyboard has Y, and the reverse.
TEST(ScanCodeTable, LettersFollowKeyPositionsNotLabels) {
    EXPECT_EQ(SdlScancodeFromScanCode(16), SDL_SCANCODE_Q);
    EXPECT_EQ(SdlScancodeFromScanCode(21), SDL_SCANCODE_Y);
    EXPECT_EQ(SdlScancodeFromScanCode(44), SDL_SCANCODE_Z);
    EXPECT_EQ(SdlScancodeFromScanCode(30), SDL_SCANCODE_A);
    EXPECT_EQ(SdlScancodeFromScanCode(50), SDL_SCANCODE_M);
    EXPECT_EQ(SdlScancodeFromScanCode(86), SDL_SCANCODE_NONUSBACKSLASH);
}

TEST(ScanCodeTable, CodesWithoutAKeyReportNone) {
    for (int code : {-1, 0, 84, 85, 89, 129, 155, 202, 255, 256, 1000})
        EXPECT_EQ(SdlScancodeFromScanCode(code), SDL_SCANCODE_UNKNOWN) << "scan code " << code;
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_AUDIOPLAY), 0);
    EXPECT_EQ(ScanCodeFromSdlScancode(static_cast<SDL_Scancode>(SDL_NUM_SCANCODES)), 0);
}

TEST(ScanCodeTable, IsoKeyLeftOfReturnCountsAsBackslashEitherWay) {
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_BACKSLASH), 43);
    EXPECT_EQ(ScanCodeFromSdlScancode(SDL_SCANCODE_NONUSHASH), 43);
}

}  // namespace
