// The game's files: levels, the selected level, scores, names and the player, the high-score
// tables, and the folder the saves live in.
#include "game/data_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/state.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

class GameFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateGameTables();
        CurrentLevel = 1;
    }
    MapsDirectory maps;
};

// Byte k holds k mod 251, so a misplaced copy shows.
std::vector<unsigned char> NumberedBytes(size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (size_t k = 0; k < count; k++) bytes[k] = static_cast<unsigned char>(k % 251);
    return bytes;
}

// A short file stops with error 3; a longer one loads its first 1200 bytes.
TEST_F(GameFiles, TheCaveIsTheTopLeftQuarterOfFortyByteRows)
{
    maps.Write("Map1-1.bin", NumberedBytes(1300));
    LoadMaps();
    for (int i = 0; i < 300; i++) ASSERT_EQ(Cave.at(i), (i / 20 * 40 + i % 20) % 251) << "cell " << i;
    EXPECT_EQ(MapBuffer.at(1199), 1199 % 251);
    maps.Write("Map1-1.bin", NumberedBytes(1199));
    EXPECT_RUNTIME_ERROR(LoadMaps(), 3);
}

// One byte; a damaged one starts at level 1, an empty file is error 3.
TEST_F(GameFiles, TheSelectedLevelIsOneByte)
{
    maps.Write("LevC.bin", {50});
    LoadMapCount();
    EXPECT_EQ(CurrentLevel, 50);
    SaveMapCount();
    EXPECT_EQ(maps.Read("LevC.bin"), std::vector<unsigned char>{50});
    for (unsigned char damaged : {0, 51, 255}) {
        maps.Write("LevC.bin", {damaged});
        LoadMapCount();
        EXPECT_EQ(CurrentLevel, 1) << "byte " << int(damaged);
    }
    maps.Write("LevC.bin", {});
    EXPECT_RUNTIME_ERROR(LoadMapCount(), 3);
}

// Level 3's table is entries 16..23; the names of a case are "p0".."p7" by their first place.
TEST_F(GameFiles, AScoreTakesItsPlaceBelowEqualOnesAndPushesTheLastOut)
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
    };
    for (const auto& c : cases) {
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
        EXPECT_EQ(HsScores.at(15) + HsScores.at(24), 0) << "the tables of levels 2 and 4";
    }
}

// Little-endian unsigned 32 bits: scores above 2^31 come back unchanged. The exit adds the time
// left and rewrites both files.
TEST_F(GameFiles, ScoresRoundTripAndTheExitRewritesScoresAndNames)
{
    std::vector<unsigned char> bytes(3200, 0);
    bytes[0] = 0x01;
    bytes[1] = 0x02;                              // entry 0: 513
    for (int b = 4; b < 8; b++) bytes[b] = 0xFF;  // entry 1: 4,294,967,295
    bytes[3196] = 7;                              // the last entry
    maps.Write("Data.bin", bytes);
    LoadHsData();
    EXPECT_EQ(HsScores[0], 513);
    EXPECT_EQ(HsScores[1], 4294967295.0);
    SaveHsData();
    EXPECT_EQ(maps.Read("Data.bin"), bytes);

    CurrentLevel = 2;
    PlayerName = "zed";
    Score = 40;
    TimeLeft = 123;
    SaveLevelResult();
    EXPECT_EQ(Score, 163);
    EXPECT_TRUE(ExitReachedThisLevel());
    EXPECT_EQ(maps.Read("Data.bin").at(8 * 4), 163);
    const std::vector<unsigned char> names = maps.Read("Name.bin");
    ASSERT_EQ(names.size(), 6400u);
    EXPECT_EQ(std::string(names.begin() + 64, names.begin() + 72), std::string("zed\0\0\0\0\0", 8));
}

TEST_F(GameFiles, ShortFilesStopWithError3)
{
    const struct { const char* name; size_t size; void (*load)(); } files[] = {
        {"Data.bin", 3199, LoadHsData}, {"Name.bin", 6399, LoadNsData}, {"Player.bin", 7, LoadPlayer}};
    for (const auto& file : files) {
        maps.Write(file.name, std::vector<unsigned char>(file.size, 0));
        EXPECT_RUNTIME_ERROR(file.load(), 3) << file.name;
    }
}

// A zero byte inside a name record closes the gap; bytes above 127 come back unchanged.
TEST_F(GameFiles, NamesReadAndSaveTheSameBytes)
{
    std::vector<unsigned char> bytes(6400, 0);
    for (int k = 0; k < 40; k++) bytes[k] = static_cast<unsigned char>(128 + k);
    const unsigned char record[8] = {'a', 0, 'b', 'c', 0, 'd', 0, 0};
    std::copy(record, record + 8, bytes.begin() + 8 * 5);
    maps.Write("Name.bin", bytes);
    LoadNsData();
    MakeString();
    MakeString();  // making the names twice does not double them
    EXPECT_STREQ(StrChars(HsNames[5]), "abcd");
    MakeNsData();
    SaveNsData();
    std::copy_n("abcd\0\0\0\0", 8, bytes.begin() + 8 * 5);
    EXPECT_EQ(maps.Read("Name.bin"), bytes);

    for (std::string name : {"bea", ""}) {
        std::vector<unsigned char> player(8, 0);
        std::copy(name.begin(), name.end(), player.begin());
        maps.Write("Player.bin", player);
        LoadPlayer();
        PlayerName = "old";
        PlayerNameFromBytes();
        EXPECT_STREQ(PlayerName.c_str(), name.c_str());
        SavePlayer();
        EXPECT_EQ(maps.Read("Player.bin"), player);
    }
}

TEST(SaveFolder, XdgDataHomeWhenAbsoluteElseTheHomeFolder)
{
    const struct { const char *xdg, *home, *folder; } cases[] = {
        {"/x/data", "/p", "/x/data/tumbrel"}, {"data", "/p", "/p/.local/share/tumbrel"},
        {"", "/p", "/p/.local/share/tumbrel"}, {nullptr, "/h", "/h/.local/share/tumbrel"},
        {nullptr, "", ""}, {nullptr, nullptr, ""}};
    for (const auto& c : cases) EXPECT_EQ(PlayerSaveFolder(c.xdg, c.home), c.folder) << c.folder;
}

TEST(SaveFolder, IsFilledFromTheShippedFilesOnlyByARunThatMaySave)
{
    MapsDirectory maps;
    for (const char* name : {"LevC.bin", "Player.bin", "Name.bin", "Data.bin"})
        maps.Write(name, std::vector<unsigned char>(8, name[0]));
    const std::string folder = maps.File("../home/share/tumbrel");
    UseSaveFolder(folder + "/");
    std::string error;

    ASSERT_TRUE(SetUpSaveFiles(false, error)) << error;
    EXPECT_FALSE(FileExists(folder)) << "a run that may not save changes nothing";
    EXPECT_STREQ(SaveFilePath(SaveFile::Scores), "./Maps/Data.bin");

    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_EQ(SaveFilePath(SaveFile::Scores), folder + "/Data.bin");
    EXPECT_EQ(ReadFileBytes(folder + "/Data.bin"), maps.Read("Data.bin"));
    WriteFileText(folder + "/Player.bin", "mine");
    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_EQ(ReadFileText(folder + "/Player.bin"), "mine") << "the player's own file is kept";

    WriteFileText(maps.File("../file"), "");
    UseSaveFolder(maps.File("../file/tumbrel"));
    EXPECT_FALSE(SetUpSaveFiles(true, error));
    EXPECT_NE(error.find("cannot create the save folder"), std::string::npos) << error;

    UseSaveFolder("");
    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_STREQ(SaveFilePath(SaveFile::Player), "./Maps/Player.bin") << "a writable Maps keeps the saves";
}

}  // namespace
