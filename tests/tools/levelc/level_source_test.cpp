#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "level_source.h"

namespace {

const char* kSmallCave =
    "name Test\n"
    "cave\n"
    "====================\n"
    "|@.......*.........|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|..................|\n"
    "|.................E|\n"
    "|o.................|\n"
    "====================\n";

int CellAt(const LevelImage& image, int column, int row) { return image.bytes[row * 40 + column]; }

TEST(LevelSource, CaveRowsLandInTheLeftHalfOfTheFileGrid) {
    LevelImage image;
    std::string error;
    ASSERT_TRUE(CompileLevelSource(kSmallCave, image, error)) << error;
    EXPECT_EQ(image.name, "Test");
    EXPECT_EQ(CellAt(image, 0, 0), 16);
    EXPECT_EQ(CellAt(image, 1, 1), 20);   // the player at byte 41
    EXPECT_EQ(image.bytes[41], 20);
    EXPECT_EQ(CellAt(image, 9, 1), 3);
    EXPECT_EQ(CellAt(image, 1, 13), 2);
    EXPECT_EQ(image.bytes[20], 0) << "columns 20..39 stay unused";
    EXPECT_EQ(CheckLevel(image), "");
}

TEST(LevelSource, PacksAreStoredTopLeftToBottomRightFromByte600) {
    std::string source = std::string(kSmallCave) +
                         "packs\n"
                         "*o$ ...\n"
                         "d.E ...\n"
                         "~@W ..*\n";
    LevelImage image;
    std::string error;
    ASSERT_TRUE(CompileLevelSource(source, image, error)) << error;
    const int expected[9] = {3, 2, 4, 5, 1, 6, 19, 20, 30};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(image.bytes[600 + k], expected[k]) << "entry " << k;
    EXPECT_EQ(image.bytes[617], 3) << "last cell of pack 1";
    EXPECT_EQ(image.bytes[618], 0) << "packs not given stay empty";
}

TEST(LevelSource, DecompiledLevelCompilesToTheSameBytes) {
    LevelImage first, second;
    std::string error;
    ASSERT_TRUE(CompileLevelSource(std::string(kSmallCave) + "packs\n*** $$$\n*o* $ $\n*** $$$\n", first, error));
    ASSERT_TRUE(CompileLevelSource(DecompileLevel(first), second, error)) << error;
    EXPECT_EQ(first.bytes, second.bytes);
}

TEST(LevelSource, MistakesAreReportedWithTheirLine) {
    LevelImage image;
    std::string error;
    std::string shortRow = kSmallCave;
    shortRow.replace(shortRow.find("|@......."), 20, "|@......|");
    EXPECT_FALSE(CompileLevelSource(shortRow, image, error));
    EXPECT_NE(error.find("line 4:"), std::string::npos) << error;

    std::string unknown = kSmallCave;
    unknown[unknown.find('E')] = 'Z';
    EXPECT_FALSE(CompileLevelSource(unknown, image, error));
    EXPECT_NE(error.find("unknown cell character 'Z'"), std::string::npos) << error;

    EXPECT_FALSE(CompileLevelSource("cave\n====================\n", image, error));
    EXPECT_NE(error.find("ends inside"), std::string::npos) << error;
    EXPECT_FALSE(CompileLevelSource("name only\n", image, error));
    EXPECT_FALSE(CompileLevelSource("bogus\n", image, error));
    EXPECT_NE(error.find("line 1:"), std::string::npos) << error;
}

TEST(LevelSource, CheckRefusesOpenBordersAndMissingPlayers) {
    LevelImage image;
    std::string error;
    std::string earthBorder = kSmallCave;
    earthBorder[earthBorder.find("|o")] = '.';
    ASSERT_TRUE(CompileLevelSource(earthBorder, image, error));
    EXPECT_NE(CheckLevel(image).find("outer ring"), std::string::npos);

    std::string noPlayer = kSmallCave;
    noPlayer[noPlayer.find('@')] = '.';
    ASSERT_TRUE(CompileLevelSource(noPlayer, image, error));
    EXPECT_NE(CheckLevel(image).find("exactly one player"), std::string::npos);
}

TEST(LevelSource, ShippedLevelsCompileAndPassTheChecks) {
    const char* sourceDir = std::getenv("TUMBREL_SOURCE_DIR");
    if (!sourceDir) GTEST_SKIP() << "TUMBREL_SOURCE_DIR not set";
    for (int level = 1; level <= 50; ++level) {
        char name[64];
        std::snprintf(name, sizeof name, "%s/assets/levels/level%02d.txt", sourceDir, level);
        std::ifstream in(name);
        if (!in) continue;
        std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LevelImage image;
        std::string error;
        EXPECT_TRUE(CompileLevelSource(source, image, error)) << name << ": " << error;
        EXPECT_EQ(CheckLevel(image), "") << name;
    }
}

}  // namespace
