// A level's high-score table written for the review pictures and for opening levels in tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "score_table.h"
#include "tests/support/temp_files.h"

namespace {

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
