// The solver on a tiny level: the search finds the way (a stone to push into a hole) and its
// replay holds when played back; without the hole it proves there is none; routes run or say
// where and why they fail; route mistakes are refused with their line.
#include <gtest/gtest.h>

#include <fstream>

#include "check.h"
#include "level_source.h"
#include "route.h"
#include "search.h"
#include "tests/support/temp_files.h"

namespace {

// Level 23 demands 12 gems: a row of them, then the exit behind the stone.
LevelData TinyLevel(bool withHole) {
    std::string source = "cave\n||||||||||||||||||||\n|************@o E|||\n";
    source += withHole ? "||||||||||||||| ||||\n" : "||||||||||||||||||||\n";
    for (int row = 3; row < 15; ++row) source += "||||||||||||||||||||\n";
    LevelImage image;
    std::string error;
    EXPECT_TRUE(CompileLevelSource(source, image, error)) << error;
    LevelData level;
    level.number = 23;
    level.bytes = image.bytes;
    level.crc = Crc32(image.bytes.data(), image.bytes.size());
    return level;
}

TEST(Solver, TheSearchFindsTheWayAndItsReplayReachesTheExitOrProvesThereIsNone) {
    const LevelData level = TinyLevel(true);
    Replay replay;
    {
        Play play(level, 1);
        ASSERT_TRUE(SearchToExit(play, SearchSettings{}).found);
        EXPECT_EQ(Outcome(), RunOutcome::ExitReached);
        replay = play.ToReplay();
    }
    ScopedTempDir dir;
    std::ofstream(dir.File("level23.replay")) << FormatReplay(replay);
    const SolutionResult played = PlaySolution(dir.File("level23.replay"), level);
    EXPECT_TRUE(played.ok) << played.problem;
    EXPECT_EQ(played.outcome, RunOutcome::ExitReached);
    const LevelData closed = TinyLevel(false);
    Play play(closed, 1);
    const SearchResult result = SearchToExit(play, SearchSettings{});
    EXPECT_FALSE(result.found);
    EXPECT_TRUE(result.exhaustive);
}

TEST(Solver, RoutesReachTheExitOrSayWhereAndWhyTheyFail) {
    const LevelData level = TinyLevel(true);
    const struct {
        const char* route;
        const char* failure;  // "" when the route reaches the exit
    } cases[] = {
        {"L12 R12 R w R2", ""},
        {"R\nD", "line 2 \"D\": nothing happened: down from (14,1) meets a wall at (14,2)"},
        {"L12 R12 R w R", "line 1 \"R\": the route ends before the exit"},
        {"exit", "the exit is closed (12 gems still needed)"},
        {"gems exit", "no way to the exit from (1,1)"},
        {"go 15,2", "no way to (15,2) from (13,1)"},
    };
    for (const auto& c : cases) {
        std::vector<RouteStep> steps;
        std::string error;
        ASSERT_TRUE(ParseRoute(c.route, steps, error)) << error;
        Play play(level, 1);
        RouteFailure failure;
        const bool reached = RunRoute(play, steps, failure);
        const std::string message = "line " + std::to_string(failure.line) + " \"" + failure.text + "\": " + failure.why;
        EXPECT_EQ(reached, *c.failure == '\0') << c.route << ": " << message;
        EXPECT_TRUE(reached || message.find(c.failure) != std::string::npos) << c.route << ": " << message;
    }
}

TEST(Solver, RouteMistakesAreRefusedWithTheirLine) {
    const struct {
        const char* route;
        const char* error;
    } cases[] = {
        {"R0", "line 1: a move is R, L, U or D"},
        {"R2 ^U\n\nX", "line 3: unknown word \"X\""},
        {"go 20,3", "\"go\" needs a cell X,Y"},
        {"go", "\"go\" needs a cell"},
        {"w0", "a wait is w, wN"},
        {"gems 12345", "\"gems N\" takes N from 1 to 9999"},
        {"until 3,4", "\"until\" needs"},
        {"until 3,4 not Z", "\"Z\" is not a legend character"},
        {"R # a comment ends the line\nL x", "line 2: unknown word \"x\""},
    };
    for (const auto& c : cases) {
        std::vector<RouteStep> steps;
        std::string error;
        EXPECT_FALSE(ParseRoute(c.route, steps, error)) << c.route;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.route << ": " << error;
    }
    std::vector<RouteStep> steps;
    std::string error;
    ASSERT_TRUE(ParseRoute("R3 ^L ! w2 f5 go 3,4 gem gems 4 gems exit until 1,2 empty until 1,2 not o until still search",
                           steps, error)) << error;
    EXPECT_EQ(steps.size(), 14u);
}

}  // namespace
