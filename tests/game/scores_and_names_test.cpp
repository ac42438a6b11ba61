// High-score tables, the score and name files, and the exit's bookkeeping.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateGameTables();
        CurrentLevel = 3;
        PlayerName = "new";
    }

    // Places 0..7 of the current level.
    void SetTable(const std::vector<double>& scores)
    {
        const int base = static_cast<int>(CurrentLevel - 1) * 8;
        for (int r = 0; r < 8; r++) {
            HsScores.at(base + r) = r < static_cast<int>(scores.size()) ? scores[r] : 0;
            StrAssignChars(HsNames.at(base + r), ("p" + std::to_string(r)).c_str());
        }
    }
    std::vector<double> Scores() const
    {
        std::vector<double> scores;
        const int base = static_cast<int>(CurrentLevel - 1) * 8;
        for (int r = 0; r < 8; r++) scores.push_back(HsScores.at(base + r));
        return scores;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        const int base = static_cast<int>(CurrentLevel - 1) * 8;
        for (int r = 0; r < 8; r++) names.push_back(StrChars(HsNames.at(base + r)));
        return names;
    }
    void Enter(double score)
    {
        Score = score;
        WriteHighscore();
    }
};

TEST_F(ScoreTable, AnEqualScoreGoesBelowTheOlderOne)
{
    SetTable({500, 400, 300});
    Enter(400);
    EXPECT_EQ(Scores(), (std::vector<double>{500, 400, 400, 300, 0, 0, 0, 0}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"p0", "p1", "new", "p2", "p3", "p4", "p5", "p6"}));
}

TEST_F(ScoreTable, AFullTableTakesOnlyAScoreAboveItsLastPlace)
{
    SetTable({900, 800, 700, 600, 500, 400, 300, 120});
    Enter(120);
    EXPECT_EQ(Scores().back(), 120);
    EXPECT_EQ(Names().back(), "p7");
    Enter(121);
    EXPECT_EQ(Scores(), (std::vector<double>{900, 800, 700, 600, 500, 400, 300, 121}));
    EXPECT_EQ(Names().back(), "new");
}

TEST_F(ScoreTable, ANewBestMovesEveryoneDownAndDropsTheLast)
{
    SetTable({80, 70, 60, 50, 40, 30, 20, 10});
    Enter(1000);
    EXPECT_EQ(Scores(), (std::vector<double>{1000, 80, 70, 60, 50, 40, 30, 20}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"new", "p0", "p1", "p2", "p3", "p4", "p5", "p6"}));
}

TEST_F(ScoreTable, AScoreOfZeroIsEnteredNowhere)
{
    SetTable({});
    Enter(0);
    EXPECT_EQ(Scores(), std::vector<double>(8, 0));
    EXPECT_EQ(Names().front(), "p0");
}

TEST_F(ScoreTable, OnlyTheCurrentLevelsTableChanges)
{
    Enter(50);
    EXPECT_EQ(HsScores[16], 50);
    EXPECT_EQ(HsScores[15], 0);
    EXPECT_EQ(HsScores[24], 0);
}

class ScoreFiles : public ::testing::Test {
protected:
    void SetUp() override { CreateGameTables(); }
    MapsDirectory maps;
};

TEST_F(ScoreFiles, ScoresAreLittleEndianUnsigned32BitAndRoundTrip)
{
    std::vector<unsigned char> bytes(3200, 0);
    bytes[0] = 0x01; bytes[1] = 0x02;                         // entry 0: 513
    for (int b = 4; b < 8; b++) bytes[b] = 0xFF;              // entry 1: 4,294,967,295
    bytes[3196] = 7;                                          // entry 799: 7
    maps.Write("Data.bin", bytes);
    LoadHsData();
    EXPECT_EQ(HsScores[0], 513);
    EXPECT_EQ(HsScores[1], 4294967295.0);
    EXPECT_EQ(HsScores[799], 7);
    SaveHsData();
    EXPECT_EQ(maps.Read("Data.bin"), bytes);
}

TEST_F(ScoreFiles, AShortScoreFileStopsWithError3)
{
    maps.Write("Data.bin", std::vector<unsigned char>(3199, 0));
    EXPECT_RUNTIME_ERROR(LoadHsData(), 3);
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
    Score = 0;
    SaveLevelResult();
    SaveResultsAtExit = true;
    EXPECT_FALSE(FileExists(maps.File("Data.bin")));
    EXPECT_FALSE(FileExists(maps.File("Name.bin")));
}

class NameFiles : public ::testing::Test {
protected:
    void SetUp() override { CreateGameTables(); }
    MapsDirectory maps;
};

TEST_F(NameFiles, APlayerNameOfThreeLettersReadsAndSavesTheSameBytes)
{
    const std::vector<unsigned char> bytes = {'b', 'e', 'a', 0, 0, 0, 0, 0};
    maps.Write("Player.bin", bytes);
    LoadPlayer();
    PlayerNameFromBytes();
    EXPECT_STREQ(PlayerName.c_str(), "bea");
    SavePlayer();
    EXPECT_EQ(maps.Read("Player.bin"), bytes);
}

TEST_F(NameFiles, AllZeroPlayerBytesGiveAnEmptyName)
{
    maps.Write("Player.bin", std::vector<unsigned char>(8, 0));
    LoadPlayer();
    PlayerName = "old";
    PlayerNameFromBytes();
    EXPECT_STREQ(PlayerName.c_str(), "");
}

TEST_F(NameFiles, AZeroByteInsideARecordClosesTheGap)
{
    std::vector<unsigned char> bytes(6400, 0);
    const unsigned char record[8] = {'a', 0, 'b', 'c', 0, 'd', 0, 0};
    std::copy(record, record + 8, bytes.begin() + 8 * 5);
    maps.Write("Name.bin", bytes);
    LoadNsData();
    MakeString();
    EXPECT_STREQ(StrChars(HsNames[5]), "abcd");
    EXPECT_STREQ(StrChars(HsNames[4]), "");
    MakeNsData();
    SaveNsData();
    const std::vector<unsigned char> saved = maps.Read("Name.bin");
    EXPECT_EQ(std::vector<unsigned char>(saved.begin() + 40, saved.begin() + 48),
              (std::vector<unsigned char>{'a', 'b', 'c', 'd', 0, 0, 0, 0}));
}

TEST_F(NameFiles, BytesAbove127ComeBackUnchanged)
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

TEST_F(NameFiles, MakingTheNamesTwiceDoesNotDoubleThem)
{
    NameBytes[0] = 'x';
    MakeString();
    MakeString();
    EXPECT_STREQ(StrChars(HsNames[0]), "x");
}

TEST_F(NameFiles, AShortNameFileStopsWithError3)
{
    maps.Write("Name.bin", std::vector<unsigned char>(6399, 0));
    EXPECT_RUNTIME_ERROR(LoadNsData(), 3);
    maps.Write("Player.bin", std::vector<unsigned char>(7, 0));
    EXPECT_RUNTIME_ERROR(LoadPlayer(), 3);
}

}  // namespace
