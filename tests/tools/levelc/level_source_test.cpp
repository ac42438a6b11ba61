// Level sources: cave rows and packs land where the game reads them, round trips, and mistakes;
// the level design checks (the shipped levels pass them: the level_design_checks test); a level's
// high-score table written for the review pictures and for opening levels in tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "level_check.h"
#include "level_source.h"
#include "score_table.h"
#include "tests/support/temp_files.h"

namespace {

struct Edit {
    int row, column;
    char cell;
};

// The source of a cave of earth inside its walls, with `edits` made to the rows.
std::string Source(const std::vector<Edit>& edits, const std::string& packs = "") {
    std::vector<std::string> rows(15, "|..................|");
    rows.front() = rows.back() = std::string(20, '=');
    for (const Edit& edit : edits) rows[edit.row][edit.column] = edit.cell;
    std::string source = "name Test\ncave\n";
    for (const std::string& row : rows) source += row + "\n";
    return source + packs;
}

// The player and a gem in the top row, the exit, and a stone above the bottom wall.
const std::vector<Edit> kSmallCave = {{1, 1, '@'}, {1, 9, '*'}, {12, 18, 'E'}, {13, 1, 'o'}};
// A sound little level: the player top left, the exit bottom right, two gems in between.
const std::vector<Edit> kSoundCave = {{1, 1, '@'}, {2, 3, '*'}, {3, 3, '*'}, {13, 18, 'E'}};

std::vector<Edit> With(std::vector<Edit> edits, const std::vector<Edit>& more) {
    edits.insert(edits.end(), more.begin(), more.end());
    return edits;
}

LevelImage Compiled(const std::string& source) {
    LevelImage image;
    std::string error;
    EXPECT_TRUE(CompileLevelSource(source, image, error)) << error;
    return image;
}

TEST(LevelSource, CaveRowsLandInTheLeftHalfOfTheFileGrid) {
    const LevelImage image = Compiled(Source(kSmallCave));
    EXPECT_EQ(image.name, "Test");
    // (byte, code): wall corner, the player, a gem, a stone above the bottom wall, unused column 20.
    const int cells[][2] = {{0, 16}, {41, 20}, {49, 3}, {13 * 40 + 1, 2}, {20, 0}};
    for (const auto& cell : cells) EXPECT_EQ(image.bytes[cell[0]], cell[1]) << "byte " << cell[0];
    EXPECT_EQ(CheckLevel(image), "");
}

TEST(LevelSource, PacksAreStoredTopLeftToBottomRightFromByte600AndRoundTrip) {
    const LevelImage image = Compiled(Source(kSmallCave, "packs\n*o$ ...\nd.E ...\n~@W ..*\n"));
    const int expected[9] = {3, 2, 4, 5, 1, 6, 19, 20, 30};
    for (int k = 0; k < 9; ++k) EXPECT_EQ(image.bytes[600 + k], expected[k]) << "entry " << k;
    EXPECT_EQ(image.bytes[617], 3) << "last cell of pack 1";
    EXPECT_EQ(image.bytes[618], 0) << "packs not given stay empty";
    EXPECT_EQ(Compiled(DecompileLevel(image)).bytes, image.bytes);
}

TEST(LevelSource, MistakesAreReportedWithTheirLineAndCheckRefusesOpenBordersAndMissingPlayers) {
    std::string shortRow = Source(kSmallCave);
    shortRow.replace(shortRow.find("|@......."), 20, "|@......|");
    const std::pair<std::string, const char*> cases[] = {
        {shortRow, "line 4:"}, {Source(With(kSmallCave, {{12, 18, 'Z'}})), "unknown cell character 'Z'"},
        {"cave\n====================\n", "ends inside"}, {"name only\n", ""}, {"bogus\n", "line 1:"}};
    for (const auto& c : cases) {
        LevelImage image;
        std::string error;
        EXPECT_FALSE(CompileLevelSource(c.first, image, error)) << c.first;
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
    }
    EXPECT_NE(CheckLevel(Compiled(Source(With(kSmallCave, {{13, 0, '.'}})))).find("outer ring"), std::string::npos);
    EXPECT_NE(CheckLevel(Compiled(Source(With(kSmallCave, {{1, 1, '.'}})))).find("exactly one player"), std::string::npos);
}

TEST(LevelCheck, EachDesignProblemIsFound) {
    EXPECT_TRUE(LevelDesignProblems(Compiled(Source(kSoundCave)), 0).empty());
    const std::pair<std::vector<Edit>, const char*> cases[] = {
        {{{13, 18, '.'}}, "exactly one exit"},
        {{{1, 1, 'o'}, {2, 1, '@'}}, "material above the start"},
        {{{1, 2, '>'}}, "an animal beside the start"},
        {{{3, 3, '~'}}, "material on lava at 3,2"},
        {{{12, 18, '='}, {13, 17, '='}}, "the exit is out of reach"},
        {{{5, 5, 'R'}}, "yam-yams without a full set of packs"},
        {{{7, 7, 'I'}}, "no room beyond the door at 7,7"},
        {{}, "holds 2 gems, 34 needed"},  // as level 1
    };
    for (const auto& [edits, expected] : cases) {
        const std::vector<std::string> problems =
            LevelDesignProblems(Compiled(Source(With(kSoundCave, edits))), edits.empty() ? 1 : 0);
        bool found = false;
        for (const std::string& problem : problems) found = found || problem.find(expected) != std::string::npos;
        EXPECT_TRUE(found) << expected << " not among " << ::testing::PrintToString(problems);
    }
}

// Every byte starts non-zero, so a stray write or a lost byte anywhere shows.
TEST(ScoreTable, BadTablesChangeNothingAndAGoodOneFillsOnlyItsLevel) {
    ScopedTempDir dir;
    const std::vector<unsigned char> names(6400, 'x'), scores(3200, 0x55);
    WriteFileBytes(dir.File("Name.bin"), names);
    WriteFileBytes(dir.File("Data.bin"), scores);
    const struct { int level; std::vector<std::string> args; const char* reason; } refused[] = {
        {0, {}, "1 to 100"}, {101, {"al", "1"}, "1 to 100"}, {3, {"al"}, "without its score"},
        {3, {"a", "9", "b", "8", "c", "7", "d", "6", "e", "5", "f", "4", "g", "3", "h", "2", "i", "1"}, "8 places"},
        {3, {"Al", "5"}, "small letters"}, {3, {"johannesx", "5"}, "small letters"},
        {3, {"al", "0"}, "from 1 to"}, {3, {"al", "4294967296"}, "from 1 to"}, {3, {"al", "-5"}, "from 1 to"},
        {3, {"al", " 5"}, "from 1 to"}, {3, {"al", "5", "bo", "6"}, "6 follows 5"},
    };
    std::string error;
    for (const auto& c : refused) {
        EXPECT_FALSE(WriteScoreTable(dir.path(), c.level, c.args, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
    WriteFileBytes(dir.File("Data.bin"), std::vector<unsigned char>(3199, 0x55));
    EXPECT_FALSE(WriteScoreTable(dir.path(), 3, {"al", "5"}, error));
    EXPECT_NE(error.find("3200 bytes"), std::string::npos) << error;
    EXPECT_EQ(ReadFileBytes(dir.File("Name.bin")), names);

    WriteFileBytes(dir.File("Data.bin"), scores);
    ASSERT_TRUE(WriteScoreTable(dir.path(), 3, {"johannes", "4294967295", "", "7"}, error)) << error;
    std::vector<unsigned char> wantNames = names, wantScores = scores;  // level 3: records 16..23
    std::fill(wantNames.begin() + 16 * 8, wantNames.begin() + 24 * 8, 0);
    std::copy_n("johannes", 8, wantNames.begin() + 16 * 8);
    std::fill(wantScores.begin() + 16 * 4, wantScores.begin() + 24 * 4, 0);
    std::fill_n(wantScores.begin() + 16 * 4, 4, 0xFF);
    wantScores[17 * 4] = 7;
    EXPECT_EQ(ReadFileBytes(dir.File("Name.bin")), wantNames);
    EXPECT_EQ(ReadFileBytes(dir.File("Data.bin")), wantScores);
}

}  // namespace
