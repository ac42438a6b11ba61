// The headless runner: outcomes, frames and the final cave of levels played from their files.
#include <gtest/gtest.h>

#include "game/runner.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

// Level 51 demands no gems, so its exit is open from the start.
constexpr double OpenExitLevel = 51;

class Runner : public ::testing::Test {
protected:
    MapsDirectory maps;
};

TEST_F(Runner, WalkingIntoTheOpenExitEndsWithTheTimeBonus)
{
    maps.Write("Map51-1.bin", LevelFileBytes({"#####", "#@E #"}));
    RunSettings settings;
    settings.level = OpenExitLevel;
    settings.keys = {{ScanRight, 1, 40}};
    const RunReport report = RunLevel(settings);
    EXPECT_STREQ(OutcomeName(report.outcome), "exit");
    EXPECT_GT(report.endFrame, 16);
    EXPECT_EQ(report.framesPlayed, report.endFrame);
    EXPECT_EQ(report.score, 300);  // nothing collected, no clock unit gone yet
    EXPECT_EQ(report.timeLeft, 300);
    // The exit entered headless rewrites no score file.
    EXPECT_FALSE(FileExists(maps.File("Data.bin")));
    // The next level, from any file, starts afresh.
    WriteFileBytes(maps.File("idle.bin"), LevelFileBytes({"#####", "#@  #"}));
    settings.levelFile = "./Maps/idle.bin";
    settings.maxFrames = 100;
    EXPECT_EQ(RunLevel(settings).outcome, RunOutcome::Running);
}

// Frames after the end let the explosion finish.
// A run from another file starts without the exit an earlier run reached.
TEST_F(Runner, ALevelFileAfterAnExitStartsAfresh)
{
    maps.Write("open.bin", LevelFileBytes({"#####", "#@E #"}));
    RunSettings settings;
    settings.level = OpenExitLevel;
    settings.levelFile = "./Maps/open.bin";
    settings.keys = {{ScanRight, 1, 40}};
    EXPECT_EQ(RunLevel(settings).outcome, RunOutcome::ExitReached);
    settings.keys.clear();
    settings.maxFrames = 40;
    EXPECT_EQ(RunLevel(settings).outcome, RunOutcome::Running);
}

TEST_F(Runner, APlayerBesideABugIsDeadOnTheFirstFrame)
{
    maps.Write("Map1-1.bin", LevelFileBytes({"#####", "#   #", "# @>#", "#   #"}));
    RunSettings settings;
    settings.framesAfterEnd = 40;
    const RunReport report = RunLevel(settings);
    EXPECT_EQ(report.outcome, RunOutcome::Dead);
    EXPECT_EQ(report.endFrame, 1);
    EXPECT_EQ(report.framesPlayed, 41);
    EXPECT_EQ(report.gemsNeeded, 34);
    EXPECT_EQ(report.cave.substr(0, 105), "####################\n#$$$################\n"
                                          "#$$$################\n#$$$################\n"
                                          "####################\n");
}

TEST_F(Runner, AnIdlePlayerRunsOutOfTimeOnFrame19185)
{
    maps.Write("Map2-1.bin", LevelFileBytes({"#####", "#@  #"}));
    RunSettings settings;
    settings.level = 2;
    settings.maxFrames = 20000;
    const RunReport report = RunLevel(settings);
    EXPECT_EQ(report.outcome, RunOutcome::TimeOut);
    EXPECT_EQ(report.endFrame, 19185);
    EXPECT_EQ(report.timeLeft, 0);
}

TEST_F(Runner, StopsAtTheFrameLimitWhileTheLevelRuns)
{
    maps.Write("Map1-1.bin", LevelFileBytes({"#####", "#@ o#", "#   #"}));
    RunSettings settings;
    settings.maxFrames = 100;
    const RunReport report = RunLevel(settings);
    EXPECT_EQ(report.outcome, RunOutcome::Running);
    EXPECT_EQ(report.framesPlayed, 100);
    EXPECT_EQ(report.endFrame, 0);
    EXPECT_EQ(report.cave.substr(21, 21), "#@  ################\n");
    EXPECT_EQ(report.cave.substr(42, 21), "#  o################\n");
}

TEST_F(Runner, EscapeEndsTheRun)
{
    maps.Write("Map1-1.bin", LevelFileBytes({"#####", "#@  #"}));
    RunSettings settings;
    settings.keys = {{ScanEscape, 30, 30}};
    const RunReport report = RunLevel(settings);
    EXPECT_EQ(report.outcome, RunOutcome::Escaped);
    EXPECT_EQ(report.framesPlayed, 29);
}

TEST_F(Runner, PlaysAnyLevelFileAndTheSameSeedGivesTheSameCave)
{
    // A growing wall in an earth room: where it spreads depends on the random draws.
    const std::vector<std::string> room = {"##########", "#@.......#", "#........#", "#...W....#",
                                           "#........#", "##########"};
    WriteFileBytes(maps.File("walls.bin"), LevelFileBytes(room));
    RunSettings settings;
    settings.levelFile = "./Maps/walls.bin";
    settings.maxFrames = 3000;
    settings.seed = 7;
    const RunReport first = RunLevel(settings);
    const RunReport second = RunLevel(settings);
    EXPECT_EQ(first.cave, second.cave);
    settings.seed = 8;
    const RunReport other = RunLevel(settings);
    EXPECT_NE(first.cave, other.cave);
}

TEST_F(Runner, AMissingLevelFileIsRuntimeError3)
{
    RunSettings settings;
    settings.level = 9;
    EXPECT_RUNTIME_ERROR(RunLevel(settings), 3);
}

}  // namespace
