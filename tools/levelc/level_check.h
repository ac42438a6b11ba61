// Design checks of a level beyond what the game needs to run it: one exit, enough gems within
// the player's reach (lying, or made by bugs' blasts and yam-yams' packs), a safe start, nothing
// resting on lava, packs where yam-yams live, room beyond every door. The reach is rough: the
// player passes stones and timing is ignored.
// Depends on level_source.h and game/gems_table.h.
#pragma once
#include <string>
#include <vector>

#include "level_source.h"

// Gems explosions can make (an estimate): the bugs' 3 x 3 blocks, counted once, less walls
// 12..19 and gems already there, plus the gems and saphirs of one pack per yam-yam, in pack order.
int ExplosionYield(const std::array<uint8_t, kLevelFileBytes>& bytes);

// `levelNumber` 1..50 checks the gems, with what explosions can yield, against the game's
// table; 0 skips that check.
std::vector<std::string> LevelDesignProblems(const LevelImage& image, int levelNumber);
