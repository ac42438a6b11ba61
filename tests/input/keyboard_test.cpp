// Key states and typed characters through a scripted source.
#include "input/keyboard.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/scripted_input.h"

namespace {

// Scan codes of the main block (US positions).
enum { KeyA = 30, KeyB = 48, KeyQ = 16, Key1 = 2, KeyUmlaut = 40, KeyF1 = 59 };

// A source whose layout gives a few special characters besides the US main block.
class LayoutInput : public ScriptedInput {
public:
    int CharacterOfScanCode(int scanCode) override {
        if (scanCode == KeyUmlaut) return 0xE4;  // a with diaeresis, Latin-1
        if (scanCode == KeyF1) return 3;         // a control code from a function key
        return ScriptedInput::CharacterOfScanCode(scanCode);
    }
};

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        SetInputSource(&input);
        ResetTypedCharMemory();
    }
    void TearDown() override { SetInputSource(nullptr); }
    void HoldOnly(const std::vector<int>& keys) {
        for (int key = 0; key < 256; ++key) input.SetKeyDown(key, false);
        for (int key : keys) input.SetKeyDown(key, true);
    }
    LayoutInput input;
};

TEST_F(Keyboard, KeyStatePollsTheSourceAndReadsTheLowEightBitsOfTheCode) {
    EXPECT_EQ(KeyState(ScanEscape), 0.0);
    HoldOnly({ScanEscape});
    const int polls = input.pollCount;
    for (double code : {1.0, 1.9, 257.0}) EXPECT_EQ(KeyState(code), 1.0) << code;
    EXPECT_EQ(KeyState(2), 0.0);
    EXPECT_EQ(input.pollCount - polls, 4);
}

// Each read sees exactly the keys of its step held.
TEST_F(Keyboard, TypedCharactersComeOncePerPressLowestScanCodeFirst) {
    struct Step {
        std::vector<int> held;
        int typed;
    };
    const Step steps[] = {
        {{KeyA}, 'a'}, {{KeyA}, 0}, {{KeyA}, 0}, {{}, 0}, {{KeyA}, 'a'},  // a held key types once
        {{KeyB}, 'b'},                                                    // another key types at once
        {{KeyB, KeyA, KeyQ}, 'q'},
        {{ScanLeftShift, KeyA}, 'A'}, {{ScanRightShift, Key1}, '1'}, {{ScanRightShift, KeyUmlaut}, 0xE4},
        {{ScanBackspace}, 8}, {{ScanReturn}, 10},
        {{ScanKeypadEnter}, 0}, {{}, 0}, {{ScanKeypadEnter}, 10},  // the same character from another key repeats
        {{ScanLeftShift, ScanLeftCtrl, ScanLeftAlt, ScanCapsLock, ScanNumLock, ScanApplications}, 0},
        {{ScanLeftCtrl, KeyF1, KeyB}, 'b'},  // keys that type nothing do not hide a higher key
    };
    int index = 0;
    for (const Step& step : steps) {
        HoldOnly(step.held);
        EXPECT_EQ(ReadTypedCode(), step.typed) << "step " << index++;
    }
    HoldOnly({KeyQ});
    EXPECT_STREQ(ReadTypedChar().c_str(), "q");
    EXPECT_STREQ(ReadTypedChar().c_str(), "");
}

}  // namespace
