// Level files, the selected-level file and the gems table.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

class LevelFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        CreateGameTables();
        CurrentLevel = 1;
    }
    MapsDirectory maps;
};

// Every byte different: byte k holds k mod 251, so a misplaced copy shows.
std::vector<unsigned char> NumberedBytes(size_t count)
{
    std::vector<unsigned char> bytes(count);
    for (size_t k = 0; k < count; k++) bytes[k] = static_cast<unsigned char>(k % 251);
    return bytes;
}

TEST_F(LevelFiles, TheCaveIsTheTopLeftQuarterOfFortyByteRows)
{
    maps.Write("Map1-1.bin", NumberedBytes(1200));
    LoadMaps();
    for (int k = 0; k < 1200; k++) ASSERT_EQ(MapBuffer.at(k), k % 251) << "byte " << k;
    for (int i = 0; i < 300; i++) ASSERT_EQ(Cave.at(i), (i / 20 * 40 + i % 20) % 251) << "cell " << i;
    Cave[22] = CellEmpty;
    CopyMap();
    EXPECT_EQ(Cave[22], 42) << "CopyMap restores the cave from the buffer";
}

TEST_F(LevelFiles, AShortOrMissingFileStopsWithError3AndALongerOneLoads)
{
    maps.Write("Map1-1.bin", NumberedBytes(1199));
    EXPECT_RUNTIME_ERROR(LoadMaps(), 3);
    CurrentLevel = 7;
    EXPECT_RUNTIME_ERROR(LoadMaps(), 3);
    CurrentLevel = 1;
    maps.Write("Map1-1.bin", NumberedBytes(1300));
    EXPECT_NO_RUNTIME_EXIT(LoadMaps());
    EXPECT_EQ(MapBuffer[1199], 1199 % 251);
}

TEST_F(LevelFiles, LevelTenIsReadFromMap10WithoutLeadingZeroOrPoint)
{
    maps.Write("Map10-1.bin", LevelFileBytes({"#####", "# @ #"}));
    CurrentLevel = 10;
    EXPECT_NO_RUNTIME_EXIT(LoadMaps());
    EXPECT_EQ(Cave[22], CellPlayer);
}

TEST_F(LevelFiles, TheSelectedLevelIsOneByte)
{
    maps.Write("LevC.bin", {3});
    LoadMapCount();
    EXPECT_EQ(CurrentLevel, 3);
    CurrentLevel = 50;
    SaveMapCount();
    EXPECT_EQ(maps.Read("LevC.bin"), std::vector<unsigned char>{50});
    maps.Write("LevC.bin", {});
    EXPECT_RUNTIME_ERROR(LoadMapCount(), 3);
}

TEST_F(LevelFiles, ADamagedSelectedLevelStartsAtLevelOne)
{
    for (unsigned char damaged : {0, 51, 120, 255}) {
        maps.Write("LevC.bin", {damaged});
        LoadMapCount();
        EXPECT_EQ(CurrentLevel, 1) << "byte " << int(damaged);
    }
}

TEST(GemsTable, HoldsFiftyLevelsAndZeroElsewhere)
{
    CreateGameTables();
    MakeGems();
    const int samples[][2] = {{1, 34}, {9, 150}, {22, 14}, {42, 220}, {50, 56}};
    for (const auto& level : samples) EXPECT_EQ(GemsPerLevel[level[0]], level[1]) << "level " << level[0];
    double total = 0, outside = 0;
    for (int level = 0; level < 100; level++) (level >= 1 && level <= 50 ? total : outside) += GemsPerLevel.at(level);
    EXPECT_EQ(total, 3914);
    EXPECT_EQ(outside, 0);
}

}  // namespace
