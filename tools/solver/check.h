// Reference solutions: the replay files of a level in the solutions directory (levelNN.replay,
// levelNN-sK.replay), and playing one to see that it reaches the exit with the level's time
// margin, on the level it was made for. Depends on play.h and game/replay.h.
#pragma once
#include <string>
#include <vector>

#include "play.h"

struct SolutionResult {
    std::string path;
    bool ok = false;       // exit reached with the margin, on this very level
    std::string problem;   // why not
    uint32_t seed = 0;
    RunOutcome outcome = RunOutcome::Running;
    long frames = 0;       // the frame that ended the level
    double timeLeft = 0;
    double score = 0;
    long gemsTaken = 0;
};

// The level's solution files in name order.
std::vector<std::string> SolutionFiles(const std::string& solutionsDir, int level);
// Plays one replay of `level`.
SolutionResult PlaySolution(const std::string& replayPath, const LevelData& level);
// Every solution of the level; a level with random parts needs three different seeds. False
// with `problem` set when there is none, too few, or one fails (its result says why).
bool CheckSolutions(const LevelData& level, const std::string& solutionsDir, std::vector<SolutionResult>& results,
                    std::string& problem);
// "level07.replay: exit at frame 5120, time left 180 (margin 150), score 412, 34 gems taken"
std::string DescribeResult(const SolutionResult& result, int level);
