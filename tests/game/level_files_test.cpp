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

TEST_F(LevelFiles, ACaveRowIsTheLeftHalfOfAFortyByteRow)
{
    maps.Write("Map1-1.bin", NumberedBytes(1200));
    LoadMaps();
    EXPECT_EQ(Cave[20], 40);    // row 1, column 0
    EXPECT_EQ(Cave[19], 19);
    EXPECT_EQ(Cave[299], (14 * 40 + 19) % 251);
    for (int k = 0; k < 1200; k++) ASSERT_EQ(MapBuffer.at(k), k % 251) << "byte " << k;
}

TEST_F(LevelFiles, BytesOutsideTheCaveAndThePacksChangeNothingInTheCave)
{
    std::vector<unsigned char> plain = LevelFileBytes({"#####", "#@ *#"});
    std::vector<unsigned char> noisy = plain;
    for (int row = 0; row < 15; row++) {
        for (int column = 20; column < 40; column++) noisy[row * 40 + column] = 0xEE;
    }
    for (int k = 690; k < 1200; k++) noisy[k] = 0xEE;
    maps.Write("Map1-1.bin", plain);
    LoadMaps();
    std::vector<double> plainCave;
    for (int i = 0; i < 300; i++) plainCave.push_back(Cave.at(i));
    maps.Write("Map1-1.bin", noisy);
    LoadMaps();
    for (int i = 0; i < 300; i++) ASSERT_EQ(Cave.at(i), plainCave[i]) << "cell " << i;
}

TEST_F(LevelFiles, AShortFileStopsWithError3AndALongerOneLoads)
{
    maps.Write("Map1-1.bin", NumberedBytes(1199));
    EXPECT_RUNTIME_ERROR(LoadMaps(), 3);
    maps.Write("Map1-1.bin", NumberedBytes(1300));
    EXPECT_NO_RUNTIME_EXIT(LoadMaps());
    EXPECT_EQ(MapBuffer[1199], 1199 % 251);
}

TEST_F(LevelFiles, AMissingFileStopsWithError3)
{
    CurrentLevel = 7;
    EXPECT_RUNTIME_ERROR(LoadMaps(), 3);
}

TEST_F(LevelFiles, LevelTenIsReadFromMap10WithoutLeadingZeroOrPoint)
{
    maps.Write("Map10-1.bin", LevelFileBytes({"#####", "# @ #"}));
    CurrentLevel = 10;
    EXPECT_NO_RUNTIME_EXIT(LoadMaps());
    EXPECT_EQ(Cave[22], CellPlayer);
}

TEST_F(LevelFiles, CopyMapRestoresTheCaveFromTheBuffer)
{
    maps.Write("Map1-1.bin", LevelFileBytes({"#####", "# @ #"}));
    LoadMaps();
    Cave[22] = CellEmpty;
    CopyMap();
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
}

TEST_F(LevelFiles, ADamagedSelectedLevelStartsAtLevelOne)
{
    for (unsigned char damaged : {0, 51, 120, 255}) {
        maps.Write("LevC.bin", {damaged});
        LoadMapCount();
        EXPECT_EQ(CurrentLevel, 1) << "byte " << int(damaged);
    }
}

TEST_F(LevelFiles, AnEmptySelectedLevelFileStopsWithError3)
{
    maps.Write("LevC.bin", {});
    EXPECT_RUNTIME_ERROR(LoadMapCount(), 3);
}

TEST(GemsTable, HoldsFiftyLevelsAndZeroElsewhere)
{
    CreateGameTables();
    MakeGems();
    EXPECT_EQ(GemsPerLevel[1], 34);
    EXPECT_EQ(GemsPerLevel[9], 150);
    EXPECT_EQ(GemsPerLevel[22], 14);
    EXPECT_EQ(GemsPerLevel[42], 220);
    EXPECT_EQ(GemsPerLevel[50], 56);
    double total = 0;
    for (int level = 1; level <= 50; level++) total += GemsPerLevel.at(level);
    EXPECT_EQ(total, 3914);
    EXPECT_EQ(GemsPerLevel[0], 0);
    for (int level = 51; level < 100; level++) EXPECT_EQ(GemsPerLevel.at(level), 0);
}

}  // namespace
