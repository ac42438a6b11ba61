// Characters of keys under the keyboard layout: what name entry can type.
#include "platform/sdl_input.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

namespace {

TEST(KeyCharacters, LayoutCharactersUpToLatin1AreTyped) {
    EXPECT_EQ(CharacterOfKeycode('a', false), 'a');
    EXPECT_EQ(CharacterOfKeycode('7', false), '7');
    EXPECT_EQ(CharacterOfKeycode(' ', false), ' ');
    EXPECT_EQ(CharacterOfKeycode(0xFC, false), 0xFC);  // u umlaut on a German layout
    EXPECT_EQ(CharacterOfKeycode(0xDF, false), 0xDF);  // sharp s
}

TEST(KeyCharacters, KeysWithoutAFontCellTypeNothing) {
    EXPECT_EQ(CharacterOfKeycode(0x20AC, false), 0);  // euro sign
    EXPECT_EQ(CharacterOfKeycode(SDLK_DELETE, false), 0);
    EXPECT_EQ(CharacterOfKeycode(SDLK_UP, false), 0);
    EXPECT_EQ(CharacterOfKeycode(SDLK_F4, false), 0);
    EXPECT_EQ(CharacterOfKeycode(SDLK_UNKNOWN, false), 0);
}

TEST(KeyCharacters, KeypadDigitsNeedNumLockOperatorsDoNot) {
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_5, true), '5');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_0, true), '0');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_9, true), '9');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_PERIOD, true), '.');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_5, false), 0);
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_PLUS, false), '+');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_DIVIDE, false), '/');
    EXPECT_EQ(CharacterOfKeycode(SDLK_KP_ENTER, true), 0);
}

}  // namespace
