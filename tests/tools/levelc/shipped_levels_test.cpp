// The level design checks, and the 50 shipped levels passing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "level_check.h"
#include "level_source.h"

namespace {

// A sound little level: the player top left, the exit bottom right, two gems in between.
std::vector<std::string> SoundCave() {
    return {"====================", "|@.................|", "|..*...............|",
            "|..*...............|", "|..................|", "|..................|",
            "|..................|", "|..................|", "|..................|",
            "|..................|", "|..................|", "|..................|",
            "|..................|", "|.................E|", "===================="};
}

std::vector<std::string> Problems(const std::vector<std::string>& rows, int levelNumber = 0,
                                  const std::string& packs = "") {
    std::string source = "name Test\ncave\n";
    for (const std::string& row : rows) source += row + "\n";
    source += packs;
    LevelImage image;
    std::string error;
    EXPECT_TRUE(CompileLevelSource(source, image, error)) << error;
    return LevelDesignProblems(image, levelNumber);
}

bool Mentions(const std::vector<std::string>& problems, const std::string& what) {
    for (const std::string& problem : problems)
        if (problem.find(what) != std::string::npos) return true;
    return false;
}

TEST(LevelCheck, EachDesignProblemIsFound) {
    EXPECT_TRUE(Problems(SoundCave()).empty());
    struct Edit {
        int row, column;
        char cell;
    };
    struct Case {
        std::vector<Edit> edits;
        const char* expected;
    } cases[] = {
        {{{13, 18, '.'}}, "exactly one exit"},
        {{{1, 1, 'o'}, {2, 1, '@'}}, "material above the start"},
        {{{1, 2, '>'}}, "an animal beside the start"},
        {{{3, 3, '~'}}, "material on lava at 3,2"},
        {{{12, 18, '='}, {13, 17, '='}}, "the exit is out of reach"},
        {{{5, 5, 'R'}}, "yam-yams without a full set of packs"},
        {{{7, 7, 'I'}}, "no room beyond the door at 7,7"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> rows = SoundCave();
        for (const Edit& edit : c.edits) rows[edit.row][edit.column] = edit.cell;
        const std::vector<std::string> problems = Problems(rows);
        EXPECT_TRUE(Mentions(problems, c.expected))
            << c.expected << " not among " << ::testing::PrintToString(problems);
    }
    EXPECT_TRUE(Mentions(Problems(SoundCave(), 1), "holds 2 gems, 34 needed"));
}

TEST(LevelCheck, AllFiftyShippedLevelsPass) {
    for (int number = 1; number <= 50; ++number) {
        char path[512];
        std::snprintf(path, sizeof path, "%s/level%02d.txt", SHIPPED_LEVELS_DIR, number);
        std::ifstream in(path);
        ASSERT_TRUE(in) << path;
        const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        LevelImage image;
        std::string error;
        ASSERT_TRUE(CompileLevelSource(source, image, error)) << path << ": " << error;
        EXPECT_EQ(CheckLevel(image), "") << path;
        EXPECT_FALSE(image.name.empty()) << path << " has no name";
        for (const std::string& problem : LevelDesignProblems(image, number)) ADD_FAILURE() << path << ": " << problem;
    }
}

}  // namespace
