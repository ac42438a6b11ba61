// The main menu, name entry and the high-score screen, driven by scripted keys frame by frame.
// Frame n of a test is the n-th frame the menu draws (0 is the first); Alt+F4 ends the run.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <csignal>

#include "audio/sound.h"
#include "core/call_by_name.h"
#include "core/clock.h"
#include "core/file_channels.h"
#include "game/menu.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

double fastNowMs = 0;
double FastNow() { return fastNowMs += 1000; }
void FastSleep(double ms) { fastNowMs += ms; }
const ClockSource kFastClock = {FastNow, FastSleep};

constexpr int kScanA = 30, kScanB = 48, kScanC = 46, kScan1 = 2;
const int kLetters[] = {30, 48, 46, 32, 18, 33, 34, 35, 23};  // a b c d e f g h i

// A strip of eight 16 x 16 frames as a 24-bit BMP (the loaders try BMP before PNG).
void WriteCursorStrip(const std::string& path) {
    const uint32_t width = 8 * 16, height = 16, rowBytes = width * 3;
    std::vector<unsigned char> bmp = {'B', 'M'};
    auto put = [&bmp](uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<unsigned char>(value >> (8 * i)));
    };
    put(54 + rowBytes * height, 4);
    put(0, 4);
    put(54, 4);
    put(40, 4);
    put(width, 4);
    put(height, 4);
    put(1, 2);
    put(24, 2);
    for (int i = 0; i < 6; ++i) put(0, 4);
    bmp.resize(54 + rowBytes * height, 200);
    WriteFileBytes(path, bmp);
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previousDirectory_ = here;
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        ASSERT_EQ(mkdir("Maps", 0755), 0);
        SetRenderBackend(&renderer_);
        SetInputSource(&input_);
        SetClockSource(&kFastClock);
        ResetTypedCharMemory();
        // The built-in font stands in for the game's; the cursor gets a plain strip.
        LoadFont("no-such-font.png", 1);
        SetFont(1);
        WriteCursorStrip(dir_.File("Elec.bmp"));
        LoadAnimStrip(dir_.File("Elec.bmp").c_str(), StripElec, 16, 16);
        CreateGameTables();
        MakeGems();
        CurrentLevel = 1;
        PlayerName = "";
        MenuCursorX = 78;
        MenuCursorY = 64;
        MenuCursorMotion = 0;
        MenuKeyRepeat = 0;
        MenuAnimFrame = 0;
    }
    void TearDown() override {
        SetInputSource(nullptr);
        ResetSpriteTable();
        SetRenderBackend(nullptr);
        SetClockSource(nullptr);
        ASSERT_EQ(chdir(previousDirectory_.c_str()), 0);
    }

    // Runs the menu until Alt+F4 on `quitFrame`; returns -1 when the menu returned (GOHOME).
    int RunMenu(long quitFrame) {
        input_.HoldKey(56, quitFrame, quitFrame);
        input_.HoldKey(62, quitFrame, quitFrame);
        return CatchRuntimeExit([] { MainMenu(); });
    }
    void Type(int scanCode, long frame) { input_.HoldKey(scanCode, frame, frame); }

    std::vector<std::string> PresentedTexts() const {
        std::vector<std::string> texts;
        for (const RecordingRenderer::Draw& draw : renderer_.presentedDraws)
            if (draw.tag.kind == DrawKind::Text) texts.push_back(draw.text);
        return texts;
    }

    ScopedTempDir dir_;
    std::string previousDirectory_;
    RecordingRenderer renderer_;
    ScriptedInput input_;
};

TEST_F(MenuTest, TheCursorMovesOneItemInEightFramesAndStaysWithinTheItems) {
    input_.HoldKey(ScanDown, 0, 0);
    EXPECT_EQ(RunMenu(12), 0);
    EXPECT_EQ(MenuCursorY, 80);
    EXPECT_EQ(MenuCursorMotion, 0);
    auto cursor = renderer_.DrawsOfSprite(StripElec);
    ASSERT_EQ(cursor.size(), 1u);
    EXPECT_EQ(cursor[0]->tag.x, 78);
    EXPECT_EQ(cursor[0]->tag.y, 80);

    MenuCursorY = 64;
    input_ = ScriptedInput();
    input_.HoldKey(ScanDown, 0, 100);
    EXPECT_EQ(RunMenu(100), 0);
    EXPECT_EQ(MenuCursorY, 112) << "never below GOHOME";

    input_ = ScriptedInput();
    input_.HoldKey(ScanUp, 0, 100);
    EXPECT_EQ(RunMenu(100), 0);
    EXPECT_EQ(MenuCursorY, 64) << "never above LEVELS";
}

TEST_F(MenuTest, ALevelIsChosenOnlyAfterTheLevelBeforeHasAScore) {
    input_.HoldKey(ScanRight, 0, 30);
    EXPECT_EQ(RunMenu(31), 0);
    EXPECT_EQ(CurrentLevel, 1) << "level 1 has no score yet";

    input_ = ScriptedInput();
    input_.HoldKey(ScanLeft, 0, 30);
    EXPECT_EQ(RunMenu(31), 0);
    EXPECT_EQ(CurrentLevel, 1);

    for (int level = 1; level <= 50; ++level) HsScores[(level - 1) * 8] = 100;
    input_ = ScriptedInput();
    input_.HoldKey(ScanRight, 0, 7);
    EXPECT_EQ(RunMenu(8), 0);
    EXPECT_EQ(CurrentLevel, 3) << "one level every 4 frames";

    input_ = ScriptedInput();
    input_.HoldKey(ScanRight, 0, 400);
    EXPECT_EQ(RunMenu(400), 0);
    EXPECT_EQ(CurrentLevel, 50) << "never above 50";

    HsScores[(20 - 1) * 8] = 0;
    CurrentLevel = 18;
    input_ = ScriptedInput();
    input_.HoldKey(ScanRight, 0, 40);
    EXPECT_EQ(RunMenu(40), 0);
    EXPECT_EQ(CurrentLevel, 20) << "level 20 has no score, so 21 stays locked";
}

TEST_F(MenuTest, NameEntryKeepsSmallLettersUpToEight) {
    MenuCursorY = 80;
    PlayerName = "old";
    input_.HoldKey(ScanReturn, 0, 0);
    input_.HoldKey(ScanLeftShift, 2, 2);
    Type(kScanA, 2);   // a capital: ignored
    Type(kScan1, 4);   // a digit: ignored
    for (int i = 0; i < 9; ++i) Type(kLetters[i], 6 + 2 * i);  // the ninth is one too many
    input_.HoldKey(ScanSpace, 30, 30);
    EXPECT_EQ(RunMenu(34), 0);
    EXPECT_STREQ(PlayerName.c_str(), "abcdefgh");
}

TEST_F(MenuTest, BackspaceClearsTheWholeName) {
    MenuCursorY = 80;
    input_.HoldKey(ScanReturn, 0, 0);
    Type(kScanA, 2);
    Type(kScanB, 4);
    Type(ScanBackspace, 6);
    Type(kScanC, 8);
    input_.HoldKey(ScanSpace, 10, 10);
    EXPECT_EQ(RunMenu(12), 0);
    EXPECT_STREQ(PlayerName.c_str(), "c");
}

TEST_F(MenuTest, ChoosingPlayerClearsTheNameAndGoHomeSavesIt) {
    MenuCursorY = 80;
    PlayerName = "abc";
    CurrentLevel = 3;
    input_.HoldKey(ScanReturn, 0, 0);
    input_.HoldKey(ScanSpace, 0, 0);  // name entry ends at once, the name is gone already
    input_.HoldKey(ScanDown, 2, 2);
    input_.HoldKey(ScanDown, 12, 12);
    input_.HoldKey(ScanReturn, 22, 22);
    EXPECT_EQ(RunMenu(40), -1) << "GOHOME returns from the menu";
    EXPECT_EQ(ReadFileBytes("Maps/Player.bin"), std::vector<unsigned char>(8, 0));
    EXPECT_EQ(ReadFileBytes("Maps/LevC.bin"), std::vector<unsigned char>{3});
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
    for (const std::string& name : ListDirectory("Maps"))
        EXPECT_TRUE(name == "Player.bin") << "left behind: " << name;
}

TEST_F(MenuTest, TheHighScoreScreenShowsTheTableOfTheChosenLevel) {
    CurrentLevel = 2;
    HsScores[8] = 900;
    HsScores[9] = 450;
    StrAssignChars(HsNames[8], "anna");
    StrAssignChars(HsNames[9], "bo");
    input_.HoldKey(ScanSpace, 0, 5);
    EXPECT_EQ(CatchRuntimeExit([] { ShowHighScore(); }), -1);
    std::vector<std::string> expected = {"HIGHSCORE", "1.", "2.", "3.", "4.", "5.", "6.", "7.", "8.",
                                         "anna", "bo", "", "", "", "", "", "",
                                         "900", "450", "0", "0", "0", "0", "0", "0", "PRESS SPACE BAR"};
    std::vector<std::string> shown = PresentedTexts();
    // Empty names print nothing; compare what was printed.
    expected.erase(std::remove(expected.begin(), expected.end(), std::string()), expected.end());
    shown.erase(std::remove(shown.begin(), shown.end(), std::string()), shown.end());
    EXPECT_EQ(shown, expected);
}

TEST_F(MenuTest, TheMenuShowsItsTextsEveryFrame) {
    PlayerName = "zed";
    CurrentLevel = 7;
    Formation();
    EXPECT_EQ(RunMenu(2), 0);
    std::vector<std::string> shown = PresentedTexts();
    ASSERT_GE(shown.size(), 7u);
    EXPECT_EQ(shown[0], "TUMBREL 2009");
    EXPECT_EQ(shown[2], "LEVELS 7");
    EXPECT_EQ(shown[3], "PLAYER zed");
    EXPECT_EQ(shown[4], "HSCORE ");
    EXPECT_EQ(shown[5], "GOHOME ");
    EXPECT_EQ(shown[6], "PILCROW GAME");
}

TEST(CallByName, FindsTheGamesRoutinesByTheirExactNames) {
    RegisterGameRoutines();
    EXPECT_EQ(GameRoutineCount(), 41);
    CreateGameTables();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(CallByName("MakeGems"), 1);
    EXPECT_EQ(GemsPerLevel[1], 34) << "the routine ran";
    EXPECT_EQ(CallByName("makegems"), 0) << "letter case matters";
    EXPECT_EQ(CallByName(""), 0);
    EXPECT_EQ(CallByName("TumbrelMain"), 0) << "the main routine is not in the table";
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "") << "without a debugger nothing is written";
    SetRoutineTable(nullptr);
    EXPECT_EQ(CallByName("MakeGems"), 0);
}

}  // namespace
