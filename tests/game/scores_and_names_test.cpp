// High-score tables, the score and name files, and the exit's bookkeeping.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

// Level 3's table is entries 16..23; the names of a case are "p0".."p7" by their first place.
TEST(ScoreTable, AScoreTakesItsPlaceBelowEqualOnesAndPushesTheLastOut)
{
    const struct {
        std::vector<double> before;
        double entered;
        std::vector<double> after;
        int newPlace;  // -1: entered nowhere
    } cases[] = {
        {{500, 400, 300}, 400, {500, 400, 400, 300, 0, 0, 0, 0}, 2},
        {{900, 800, 700, 600, 500, 400, 300, 120}, 120, {900, 800, 700, 600, 500, 400, 300, 120}, -1},
        {{900, 800, 700, 600, 500, 400, 300, 120}, 121, {900, 800, 700, 600, 500, 400, 300, 121}, 7},
        {{80, 70, 60, 50, 40, 30, 20, 10}, 1000, {1000, 80, 70, 60, 50, 40, 30, 20}, 0},
        {{}, 0, {0, 0, 0, 0, 0, 0, 0, 0}, -1},
    };
    for (const auto& c : cases) {
        CreateGameTables();
        CurrentLevel = 3;
        PlayerName = "new";
        for (int r = 0; r < 8; r++) {
            HsScores.at(16 + r) = r < static_cast<int>(c.before.size()) ? c.before[r] : 0;
            StrAssignChars(HsNames.at(16 + r), ("p" + std::to_string(r)).c_str());
        }
        Score = c.entered;
        WriteHighscore();
        for (int r = 0, old = 0; r < 8; r++) {
            EXPECT_EQ(HsScores.at(16 + r), c.after[r]) << c.entered << ", place " << r;
            const std::string name = r == c.newPlace ? "new" : "p" + std::to_string(old++);
            EXPECT_STREQ(StrChars(HsNames.at(16 + r)), name.c_str()) << c.entered << ", place " << r;
        }
        EXPECT_EQ(HsScores.at(15), 0) << "level 2's table is untouched";
        EXPECT_EQ(HsScores.at(24), 0) << "level 4's table is untouched";
    }
}

class ScoreFiles : public ::testing::Test {
protected:
    void SetUp() override { CreateGameTables(); }
    MapsDirectory maps;
};

// Scores above 2^31 come back unchanged.
TEST_F(ScoreFiles, ScoresAreLittleEndianUnsigned32BitAndRoundTrip)
{
    std::vector<unsigned char> bytes(3200, 0);
    bytes[0] = 0x01;
    bytes[1] = 0x02;                                 // entry 0: 513
    for (int b = 4; b < 8; b++) bytes[b] = 0xFF;     // entry 1: 4,294,967,295
    bytes[3196] = 7;                                 // entry 799: 7
    maps.Write("Data.bin", bytes);
    LoadHsData();
    EXPECT_EQ(HsScores[0], 513);
    EXPECT_EQ(HsScores[1], 4294967295.0);
    EXPECT_EQ(HsScores[799], 7);
    SaveHsData();
    EXPECT_EQ(maps.Read("Data.bin"), bytes);
}

TEST_F(ScoreFiles, ReachingTheExitAddsTheTimeAndRewritesBothFiles)
{
    CurrentLevel = 2;
    PlayerName = "zed";
    Score = 40;
    TimeLeft = 123;
    SaveLevelResult();
    EXPECT_EQ(Score, 163);
    EXPECT_TRUE(ExitReachedThisLevel());
    const std::vector<unsigned char> scores = maps.Read("Data.bin");
    ASSERT_EQ(scores.size(), 3200u);
    EXPECT_EQ(scores[8 * 4], 163);
    const std::vector<unsigned char> names = maps.Read("Name.bin");
    ASSERT_EQ(names.size(), 6400u);
    EXPECT_EQ(std::string(names.begin() + 64, names.begin() + 72), std::string("zed\0\0\0\0\0", 8));
}

TEST_F(ScoreFiles, HeadlessPlayEntersTheScoreButWritesNoFile)
{
    SaveResultsAtExit = false;
    TimeLeft = 10;
    SaveLevelResult();
    SaveResultsAtExit = true;
    EXPECT_FALSE(FileExists(maps.File("Data.bin")));
    EXPECT_FALSE(FileExists(maps.File("Name.bin")));
}

TEST_F(ScoreFiles, ShortDataFilesStopWithError3)
{
    const struct { const char* name; size_t size; void (*load)(); } files[] = {
        {"Data.bin", 3199, LoadHsData}, {"Name.bin", 6399, LoadNsData}, {"Player.bin", 7, LoadPlayer}};
    for (const auto& file : files) {
        maps.Write(file.name, std::vector<unsigned char>(file.size, 0));
        EXPECT_RUNTIME_ERROR(file.load(), 3) << file.name;
    }
}

TEST_F(ScoreFiles, APlayerNameReadsAndSavesTheSameBytes)
{
    for (std::string name : {"bea", ""}) {
        std::vector<unsigned char> bytes(8, 0);
        std::copy(name.begin(), name.end(), bytes.begin());
        maps.Write("Player.bin", bytes);
        LoadPlayer();
        PlayerName = "old";
        PlayerNameFromBytes();
        EXPECT_STREQ(PlayerName.c_str(), name.c_str());
        SavePlayer();
        EXPECT_EQ(maps.Read("Player.bin"), bytes);
    }
}

TEST_F(ScoreFiles, AZeroByteInsideANameRecordClosesTheGap)
{
    std::vector<unsigned char> bytes(6400, 0);
    const unsigned char record[8] = {'a', 0, 'b', 'c', 0, 'd', 0, 0};
    std::copy(record, record + 8, bytes.begin() + 8 * 5);
    maps.Write("Name.bin", bytes);
    LoadNsData();
    MakeString();
    MakeString();  // making the names twice does not double them
    EXPECT_STREQ(StrChars(HsNames[5]), "abcd");
    EXPECT_STREQ(StrChars(HsNames[4]), "");
    MakeNsData();
    SaveNsData();
    const std::vector<unsigned char> saved = maps.Read("Name.bin");
    EXPECT_EQ(std::vector<unsigned char>(saved.begin() + 40, saved.begin() + 48),
              (std::vector<unsigned char>{'a', 'b', 'c', 'd', 0, 0, 0, 0}));
}

TEST_F(ScoreFiles, NameBytesAbove127ComeBackUnchanged)
{
    std::vector<unsigned char> bytes(6400, 0);
    for (int k = 0; k < 128; k++) bytes[k] = static_cast<unsigned char>(128 + k);
    maps.Write("Name.bin", bytes);
    LoadNsData();
    MakeString();
    MakeNsData();
    SaveNsData();
    EXPECT_EQ(maps.Read("Name.bin"), bytes);
}

}  // namespace
