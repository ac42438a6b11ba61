// Characters of keys under the keyboard layout: what name entry can type.
#include "platform/sdl_input.h"

#include <SDL_keycode.h>
#include <gtest/gtest.h>

namespace {

TEST(KeyCharacters, LayoutCharactersUpToLatin1AreTypedKeypadDigitsOnlyWithNumLock) {
    struct Case {
        SDL_Keycode key;
        bool numLock;
        int typed;
    };
    const Case cases[] = {
        {'a', false, 'a'}, {'7', false, '7'}, {' ', false, ' '}, {0xFC, false, 0xFC} /* u umlaut */,
        {0xDF, false, 0xDF}, {0x20AC, false, 0} /* euro: no font cell */, {SDLK_DELETE, false, 0},
        {SDLK_UP, false, 0}, {SDLK_F4, false, 0}, {SDLK_UNKNOWN, false, 0},
        {SDLK_KP_5, true, '5'}, {SDLK_KP_0, true, '0'}, {SDLK_KP_9, true, '9'}, {SDLK_KP_PERIOD, true, '.'},
        {SDLK_KP_5, false, 0}, {SDLK_KP_PLUS, false, '+'}, {SDLK_KP_DIVIDE, false, '/'}, {SDLK_KP_ENTER, true, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(CharacterOfKeycode(c.key, c.numLock), c.typed) << c.key << " " << c.numLock;
}

}  // namespace
