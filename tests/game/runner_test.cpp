// The headless runner: outcomes, frames and the final cave of levels played from their files.
#include <gtest/gtest.h>

#include "game/runner.h"
#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/game_files.h"
#include "tests/support/runtime_exit.h"

namespace {

// Level 51 demands no gems, so its exit is open from the start.
TEST(Runner, TheOpenExitEndsWithTheTimeBonusAndTheNextFileStartsAfresh)
{
    MapsDirectory maps;
    maps.Write("Map51-1.bin", LevelFileBytes({"#####", "#@E #"}));
    RunSettings settings;
    settings.level = 51;
    settings.keys = {{ScanRight, 1, 40}};
    const RunReport report = RunLevel(settings);
    EXPECT_STREQ(OutcomeName(report.outcome), "exit");
    EXPECT_GT(report.endFrame, 16);
    EXPECT_EQ(report.framesPlayed, report.endFrame);
    EXPECT_EQ(report.score, 300) << "nothing collected, no clock unit gone yet";
    EXPECT_FALSE(FileExists(maps.File("Data.bin"))) << "headless runs rewrite no score file";
    maps.Write("idle.bin", LevelFileBytes({"#####", "#@  #"}));
    settings.levelFile = "./Maps/idle.bin";
    settings.maxFrames = 100;
    EXPECT_EQ(RunLevel(settings).outcome, RunOutcome::Running);
    settings.level = 9;
    settings.levelFile = "";
    EXPECT_RUNTIME_ERROR(RunLevel(settings), 3) << "no Map9-1.bin";
}

// Death beside a bug on the first frame (played on to let the blast leave its saphirs), the clock
// running out, the frame limit (the stone has fallen), and Escape read on frame 30.
TEST(Runner, HowARunEnds)
{
    const struct {
        std::vector<std::string> cave;
        long maxFrames, framesAfterEnd, escapeFrame;
        RunOutcome outcome;
        long endFrame, framesPlayed;
        const char* row2;
    } cases[] = {
        {{"#####", "#   #", "# @>#", "#   #"}, 19200, 40, 0, RunOutcome::Dead, 1, 41, "#$$$#"},
        {{"#####", "#@  #"}, 20000, 0, 0, RunOutcome::TimeOut, 19185, 19185, "#####"},
        {{"#####", "#@ o#", "#   #"}, 100, 0, 0, RunOutcome::Running, 0, 100, "#  o#"},
        {{"#####", "#@  #"}, 19200, 0, 30, RunOutcome::Escaped, 0, 29, "#####"},
    };
    for (const auto& c : cases) {
        MapsDirectory maps;
        maps.Write("Map1-1.bin", LevelFileBytes(c.cave));
        RunSettings settings;
        settings.maxFrames = c.maxFrames;
        settings.framesAfterEnd = c.framesAfterEnd;
        if (c.escapeFrame) settings.keys = {{ScanEscape, c.escapeFrame, c.escapeFrame}};
        const RunReport report = RunLevel(settings);
        EXPECT_STREQ(OutcomeName(report.outcome), OutcomeName(c.outcome));
        EXPECT_EQ(report.endFrame, c.endFrame) << c.row2;
        EXPECT_EQ(report.framesPlayed, c.framesPlayed) << c.row2;
        EXPECT_EQ(report.cave.substr(42, 5), c.row2);
    }
}

TEST(Runner, TheSameSeedGivesTheSameCave)
{
    // A growing wall in an earth room: where it spreads depends on the random draws.
    MapsDirectory maps;
    maps.Write("walls.bin", LevelFileBytes({"##########", "#@.......#", "#........#", "#...W....#",
                                            "#........#", "##########"}));
    RunSettings settings;
    settings.levelFile = "./Maps/walls.bin";
    settings.maxFrames = 3000;
    settings.seed = 7;
    const std::string first = RunLevel(settings).cave;
    EXPECT_EQ(RunLevel(settings).cave, first);
    settings.seed = 8;
    EXPECT_NE(RunLevel(settings).cave, first);
}

}  // namespace
