// The level set measured as a whole: per level the elements it uses, the gems it demands, lays
// and can yield through explosions and packs, its start and exit, its reference solutions played
// back and (from level 21 on) whether the greedy player finishes it; then the rules the set must
// keep, a table for the designers and the levels document.
// Depends on level_source.h and the solver's level_play library (which runs the game headless).
#pragma once
#include <string>
#include <vector>

#include "check.h"

enum Element {
    kStones, kPushing, kKeysAndDoors, kDynamite, kBugs, kYamYams, kLava, kGrowingWalls, kBlinkingWall,
    kElementCount
};
const char* ElementName(int element);

struct LevelFacts {
    int number = 0;
    std::string name;
    std::string error;  // the source cannot be read or compiled
    unsigned elements = 0;  // bit per Element
    int demand = 0, lying = 0, yield = 0, gemCells = 0;
    int start = -1, exit = -1;
    bool random = false;
    std::vector<SolutionResult> solutions;
    std::string solutionProblem;  // empty when every solution holds
    bool greedyPlayed = false, greedyFinished = false;
};

// Levels 1..50 from DIR/levelNN.txt and DIR/solutions/; the greedy player runs from level 21 on
// when asked.
std::vector<LevelFacts> MeasureLevelSet(const std::string& levelsDir, bool playGreedy);

struct RuleResult {
    std::string rule;
    bool ok = false;
    std::string detail;
};
std::vector<RuleResult> CheckSetRules(const std::vector<LevelFacts>& levels);

std::string StatsTable(const std::vector<LevelFacts>& levels);
std::string RulesTable(const std::vector<RuleResult>& rules);
std::string LevelsDocument(const std::vector<LevelFacts>& levels);
