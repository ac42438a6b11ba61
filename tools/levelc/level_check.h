// Design checks of a level beyond what the game needs to run it: one exit, enough gems within
// the player's reach (lying, or made by bugs' blasts and yam-yams' packs), a safe start, nothing
// resting on lava, packs where yam-yams live, room beyond every door. The reach is rough: the
// player passes stones and timing is ignored.
// Depends on level_source.h and game/gems_table.h.
#pragma once
#include <string>
#include <vector>

#include "level_source.h"

// `levelNumber` 1..50 checks the gems against the game's table; 0 skips that check.
std::vector<std::string> LevelDesignProblems(const LevelImage& image, int levelNumber);
