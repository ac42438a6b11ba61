// A copy of everything a level run changes - the Cave, its fourteen side arrays, the per-level
// globals, the exit flag and the random generator - so that a tool can rewind a run and try
// another way (the level solver). Depends on game/state.h and core/random.h.
// Does not copy MapBuffer or the start-up tables: a level run never changes them.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "core/random.h"

struct LevelSnapshot {
    // The fifteen cell arrays, 300 entries each; every value they hold is a small whole number,
    // and `odd` keeps any that is not, by its position.
    std::vector<int16_t> cells;
    std::vector<std::pair<int, double>> odd;
    std::vector<double> globals;
    bool exitReached = false;
    RandomState random{};
};

void SaveLevelState(LevelSnapshot& snapshot);
void RestoreLevelState(const LevelSnapshot& snapshot);
// A hash of what decides how the run goes on (not the clock, the score or the pictures' frames).
uint64_t LevelStateHash();
