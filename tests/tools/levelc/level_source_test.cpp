// Level sources: cave rows and packs land where the game reads them, round trips, and mistakes.
#include <gtest/gtest.h>

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

LevelImage Compiled(const std::string& source) {
    LevelImage image;
    std::string error;
    EXPECT_TRUE(CompileLevelSource(source, image, error)) << error;
    return image;
}

TEST(LevelSource, CaveRowsLandInTheLeftHalfOfTheFileGrid) {
    const LevelImage image = Compiled(kSmallCave);
    EXPECT_EQ(image.name, "Test");
    // (byte, code): wall corner, the player, a gem, a stone above the bottom wall, unused column 20.
    const int cells[][2] = {{0, 16}, {41, 20}, {49, 3}, {13 * 40 + 1, 2}, {20, 0}};
    for (const auto& cell : cells) EXPECT_EQ(image.bytes[cell[0]], cell[1]) << "byte " << cell[0];
    EXPECT_EQ(CheckLevel(image), "");
}

TEST(LevelSource, PacksAreStoredTopLeftToBottomRightFromByte600AndRoundTrip) {
    const LevelImage image = Compiled(std::string(kSmallCave) + "packs\n*o$ ...\nd.E ...\n~@W ..*\n");
    const int expected[9] = {3, 2, 4, 5, 1, 6, 19, 20, 30};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(image.bytes[600 + k], expected[k]) << "entry " << k;
    EXPECT_EQ(image.bytes[617], 3) << "last cell of pack 1";
    EXPECT_EQ(image.bytes[618], 0) << "packs not given stay empty";
    EXPECT_EQ(Compiled(DecompileLevel(image)).bytes, image.bytes);
}

TEST(LevelSource, MistakesAreReportedWithTheirLine) {
    std::string shortRow = kSmallCave, unknown = kSmallCave;
    shortRow.replace(shortRow.find("|@......."), 20, "|@......|");
    unknown[unknown.find('E')] = 'Z';
    const std::pair<std::string, const char*> cases[] = {
        {shortRow, "line 4:"}, {unknown, "unknown cell character 'Z'"},
        {"cave\n====================\n", "ends inside"}, {"name only\n", ""}, {"bogus\n", "line 1:"}};
    for (const auto& c : cases) {
        LevelImage image;
        std::string error;
        EXPECT_FALSE(CompileLevelSource(c.first, image, error)) << c.first;
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
    }
}

TEST(LevelSource, CheckRefusesOpenBordersAndMissingPlayers) {
    std::string earthBorder = kSmallCave, noPlayer = kSmallCave;
    earthBorder[earthBorder.find("|o")] = '.';
    noPlayer[noPlayer.find('@')] = '.';
    EXPECT_NE(CheckLevel(Compiled(earthBorder)).find("outer ring"), std::string::npos);
    EXPECT_NE(CheckLevel(Compiled(noPlayer)).find("exactly one player"), std::string::npos);
}

}  // namespace
