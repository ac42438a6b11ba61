// The main menu, name entry and the high-score screen, driven by scripted keys frame by frame.
// Frame n of a test is the n-th frame the menu draws (0 is the first); Alt+F4 ends the run.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>

#include "core/clock.h"
#include "core/file_channels.h"
#include "game/menu.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "tests/game/game_files.h"
#include "tests/game/scenario.h"
#include "tests/support/scripted_input.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

constexpr int kScanA = 30, kScanB = 48, kScanC = 46, kScan1 = 2;
const int kLetters[] = {30, 48, 46, 32, 18, 33, 34, 35, 23};  // a b c d e f g h i

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetRenderBackend(&renderer_);
        SetInputSource(&input_);
        UseFastClock();
        ResetTypedCharMemory();
        // The built-in font stands in for the game's; the cursor gets a plain strip.
        LoadFont("no-such-font.png", 1);
        SetFont(1);
        WriteStrip("Elec.bmp", 8);
        LoadAnimStrip("Elec.bmp", StripElec, 16, 16);
        CreateGameTables();
        MakeGems();
        CurrentLevel = 1;
        PlayerName = "";
        MenuCursorX = 78;
        MenuCursorY = 64;
        MenuCursorMotion = MenuKeyRepeat = MenuAnimFrame = 0;
    }
    void TearDown() override {
        SetInputSource(nullptr);
        ResetSpriteTable();
        SetRenderBackend(nullptr);
        SetClockSource(nullptr);
    }

    // Runs the menu until Alt+F4 on `quitFrame`; returns -1 when the menu returned (GOHOME).
    int RunMenu(long quitFrame) {
        input_.HoldKey(56, quitFrame, quitFrame);
        input_.HoldKey(62, quitFrame, quitFrame);
        return CatchRuntimeExit([] { MainMenu(); });
    }
    // A fresh run with only `scanCode` held from the first frame to `lastHeld`.
    int HoldAndRun(int scanCode, long lastHeld, long quitFrame) {
        input_ = ScriptedInput();
        input_.HoldKey(scanCode, 0, lastHeld);
        return RunMenu(quitFrame);
    }
    void Type(int scanCode, long frame) { input_.HoldKey(scanCode, frame, frame); }

    std::vector<std::string> PresentedTexts() const {
        std::vector<std::string> texts;
        for (const RecordingRenderer::Draw& draw : renderer_.presentedDraws)
            if (draw.tag.kind == DrawKind::Text && !draw.text.empty()) texts.push_back(draw.text);
        return texts;
    }

    MapsDirectory maps_;  // the working directory while the test runs
    RecordingRenderer renderer_;
    ScriptedInput input_;
};

TEST_F(MenuTest, TheTextsAndTheCursorThatMovesOneItemInEightFramesWithinTheItems) {
    PlayerName = "zed";
    CurrentLevel = 7;
    Formation();
    EXPECT_EQ(HoldAndRun(ScanDown, 0, 12), 0);
    const std::vector<std::string> shown = PresentedTexts();
    ASSERT_GE(shown.size(), 7u);
    EXPECT_EQ(shown[0], "TUMBREL 2009");
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 2, shown.begin() + 7),
              (std::vector<std::string>{"LEVELS 7", "PLAYER zed", "HSCORE ", "GOHOME ", "PILCROW GAME"}));
    EXPECT_EQ(MenuCursorY, 80);
    auto cursor = renderer_.DrawsOfSprite(StripElec);
    ASSERT_EQ(cursor.size(), 1u);
    EXPECT_EQ(cursor[0]->tag.x, 78);
    EXPECT_EQ(cursor[0]->tag.y, 80);
    EXPECT_EQ(HoldAndRun(ScanDown, 100, 100), 0);
    EXPECT_EQ(MenuCursorY, 112) << "never below GOHOME";
    EXPECT_EQ(HoldAndRun(ScanUp, 100, 100), 0);
    EXPECT_EQ(MenuCursorY, 64) << "never above LEVELS";
}

TEST_F(MenuTest, ALevelIsChosenOnlyAfterTheLevelBeforeHasAScore) {
    EXPECT_EQ(HoldAndRun(ScanRight, 30, 31), 0);
    EXPECT_EQ(CurrentLevel, 1) << "level 1 has no score yet";

    for (int level = 1; level <= 50; ++level) HsScores[(level - 1) * 8] = 100;
    EXPECT_EQ(HoldAndRun(ScanLeft, 30, 31), 0);
    EXPECT_EQ(CurrentLevel, 1) << "never below 1";
    EXPECT_EQ(HoldAndRun(ScanRight, 7, 8), 0);
    EXPECT_EQ(CurrentLevel, 3) << "one level every 4 frames";
    EXPECT_EQ(HoldAndRun(ScanRight, 400, 400), 0);
    EXPECT_EQ(CurrentLevel, 50) << "never above 50";

    HsScores[(20 - 1) * 8] = 0;
    CurrentLevel = 18;
    EXPECT_EQ(HoldAndRun(ScanRight, 40, 40), 0);
    EXPECT_EQ(CurrentLevel, 20) << "level 20 has no score, so 21 stays locked";
}

TEST_F(MenuTest, NameEntryKeepsSmallLettersUpToEightAndBackspaceClearsTheWholeName) {
    MenuCursorY = 80;
    PlayerName = "old";
    input_.HoldKey(ScanReturn, 0, 0);
    Type(kScanA, 2);
    Type(kScanB, 4);
    Type(ScanBackspace, 6);
    input_.HoldKey(ScanLeftShift, 8, 8);
    Type(kScanC, 8);   // a capital: ignored
    Type(kScan1, 10);  // a digit: ignored
    for (int i = 0; i < 9; ++i) Type(kLetters[i], 12 + 2 * i);  // the ninth is one too many
    input_.HoldKey(ScanSpace, 32, 32);
    EXPECT_EQ(RunMenu(36), 0);
    EXPECT_STREQ(PlayerName.c_str(), "abcdefgh");
}

TEST_F(MenuTest, AFailedSaveOnGoHomeLeavesTheOldFileWhole) {
    WriteFileText("Maps/Player.bin", "oldnamex");
    PlayerName = "newname";
    MenuCursorY = 112;
    input_.HoldKey(ScanReturn, 0, 0);
    struct rlimit previous;
    getrlimit(RLIMIT_FSIZE, &previous);
    struct rlimit tiny = previous;
    tiny.rlim_cur = 4;  // the disk is "full" after four bytes
    auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    int status = RunMenu(5);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    CloseAllFileChannels();
    EXPECT_EQ(status, 3) << "a failed write ends the program with error 3";
    EXPECT_EQ(ReadFileText("Maps/Player.bin"), "oldnamex");
    EXPECT_EQ(ListDirectory("Maps"), std::vector<std::string>{"Player.bin"}) << "nothing left behind";
}

TEST_F(MenuTest, TheHighScoreScreenShowsTheTableOfTheChosenLevel) {
    CurrentLevel = 2;
    HsScores[8] = 900;
    HsScores[9] = 450;
    StrAssignChars(HsNames[8], "anna");
    StrAssignChars(HsNames[9], "bo");
    input_.HoldKey(ScanSpace, 0, 5);
    EXPECT_EQ(CatchRuntimeExit([] { ShowHighScore(); }), -1);
    EXPECT_EQ(PresentedTexts(), (std::vector<std::string>{"HIGHSCORE", "1.", "2.", "3.", "4.", "5.", "6.", "7.",
                                                          "8.", "anna", "bo", "900", "450", "0", "0", "0", "0",
                                                          "0", "0", "PRESS SPACE BAR"}));
}

}  // namespace
