// Key states and typed characters through a scripted source.
#include "input/keyboard.h"

#include <gtest/gtest.h>

namespace {

// Scan codes of the main block (US positions).
enum { KeyA = 30, KeyB = 48, KeyQ = 16, Key1 = 2, KeyUmlaut = 40 };

// A source whose layout gives a few special characters besides the US main block.
class LayoutInput : public ScriptedInput {
public:
    int CharacterOfScanCode(int scanCode) override {
        if (scanCode == KeyUmlaut) return 0xE4;  // a with diaeresis, Latin-1
        if (scanCode == 59) return 3;            // a control code from a function key
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
    void Hold(std::initializer_list<int> keys) {
        for (int key : keys) input.SetKeyDown(key, true);
    }
    void ReleaseAll() {
        for (int key = 0; key < 256; ++key) input.SetKeyDown(key, false);
    }
    LayoutInput input;
};

TEST_F(Keyboard, KeyStateReadsTheLowEightBitsOfTheCode) {
    EXPECT_EQ(KeyState(ScanEscape), 0.0);
    Hold({ScanEscape});
    EXPECT_EQ(KeyState(1), 1.0);
    EXPECT_EQ(KeyState(1.9), 1.0);
    EXPECT_EQ(KeyState(257), 1.0);
    EXPECT_EQ(KeyState(2), 0.0);
}

TEST_F(Keyboard, KeyStatePollsTheSourceEachTime) {
    int polls = input.pollCount;
    KeyState(ScanSpace);
    KeyState(ScanSpace);
    EXPECT_EQ(input.pollCount - polls, 2);
}

TEST_F(Keyboard, HeldKeyTypesOnceUntilAReadSeesNoKey) {
    Hold({KeyA});
    EXPECT_EQ(ReadTypedCode(), 'a');
    EXPECT_EQ(ReadTypedCode(), 0);
    EXPECT_EQ(ReadTypedCode(), 0);
    ReleaseAll();
    EXPECT_EQ(ReadTypedCode(), 0);
    Hold({KeyA});
    EXPECT_EQ(ReadTypedCode(), 'a');
}

TEST_F(Keyboard, ChangingToAnotherKeyTypesAtOnce) {
    Hold({KeyA});
    EXPECT_EQ(ReadTypedCode(), 'a');
    ReleaseAll();
    Hold({KeyB});
    EXPECT_EQ(ReadTypedCode(), 'b');
}

TEST_F(Keyboard, LowestScanCodeWins) {
    Hold({KeyB, KeyA, KeyQ});
    EXPECT_EQ(ReadTypedCode(), 'q');
}

TEST_F(Keyboard, ShiftCapitalisesLettersOnly) {
    Hold({ScanLeftShift, KeyA});
    EXPECT_EQ(ReadTypedCode(), 'A');
    ReleaseAll();
    Hold({ScanRightShift, Key1});
    EXPECT_EQ(ReadTypedCode(), '1');
    ReleaseAll();
    Hold({ScanRightShift, KeyUmlaut});
    EXPECT_EQ(ReadTypedCode(), 0xE4);
}

TEST_F(Keyboard, ReturnBackspaceAndSilentKeys) {
    Hold({ScanBackspace});
    EXPECT_EQ(ReadTypedCode(), 8);
    ReleaseAll();
    Hold({ScanReturn});
    EXPECT_EQ(ReadTypedCode(), 10);
    // The same character from another key counts as a repeat until a read sees no key.
    ReleaseAll();
    Hold({ScanKeypadEnter});
    EXPECT_EQ(ReadTypedCode(), 0);
    ReleaseAll();
    EXPECT_EQ(ReadTypedCode(), 0);
    Hold({ScanKeypadEnter});
    EXPECT_EQ(ReadTypedCode(), 10);
    ReleaseAll();
    Hold({ScanLeftShift, ScanLeftCtrl, ScanLeftAlt, ScanCapsLock, ScanNumLock, ScanApplications});
    EXPECT_EQ(ReadTypedCode(), 0);
}

TEST_F(Keyboard, SilentKeysDoNotHideAHigherKey) {
    Hold({ScanLeftCtrl, 59, KeyB});  // Ctrl and a control code give nothing; B is next
    EXPECT_EQ(ReadTypedCode(), 'b');
}

TEST_F(Keyboard, ReadTypedCharGivesOneCharacterStrings) {
    Hold({KeyQ});
    RtStr typed = ReadTypedChar();
    EXPECT_STREQ(typed.c_str(), "q");
    EXPECT_STREQ(ReadTypedChar().c_str(), "");
}

TEST_F(Keyboard, PointerVisibilityGoesToTheSource) {
    ShowMousePointer(0);
    EXPECT_FALSE(input.pointerVisible);
    ShowMousePointer(2);
    EXPECT_TRUE(input.pointerVisible);
}

TEST(ScriptedKeys, FollowTheFrameCounter) {
    ScriptedInput input;
    SetInputSource(&input);
    input.HoldKey(ScanUp, 2, 3);
    input.PressKeyAt(ScanSpace, 3);
    EXPECT_EQ(KeyState(ScanUp), 0.0);
    MarkInputFrame();
    MarkInputFrame();
    EXPECT_EQ(KeyState(ScanUp), 1.0);
    EXPECT_EQ(KeyState(ScanSpace), 0.0);
    MarkInputFrame();
    EXPECT_EQ(KeyState(ScanUp), 1.0);
    EXPECT_EQ(KeyState(ScanSpace), 1.0);
    MarkInputFrame();
    EXPECT_EQ(KeyState(ScanUp), 0.0);
    SetInputSource(nullptr);
    EXPECT_EQ(KeyState(ScanUp), 0.0);
}

TEST(ScriptedKeys, UsLayoutOfTheMainBlock) {
    ScriptedInput input;
    EXPECT_EQ(input.CharacterOfScanCode(2), '1');
    EXPECT_EQ(input.CharacterOfScanCode(11), '0');
    EXPECT_EQ(input.CharacterOfScanCode(16), 'q');
    EXPECT_EQ(input.CharacterOfScanCode(44), 'z');
    EXPECT_EQ(input.CharacterOfScanCode(57), ' ');
    EXPECT_EQ(input.CharacterOfScanCode(ScanReturn), 0);
    EXPECT_EQ(input.CharacterOfScanCode(200), 0);
}

}  // namespace
