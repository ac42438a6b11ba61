// One level's high-score table written into a player's "Name.bin" and "Data.bin": sample tables
// for the review screenshots, and unlocking levels while testing them (a level opens when the one
// before it has a score). Depends on the C++ library only; leaves every other level's table alone.
#pragma once
#include <string>
#include <vector>

// `namesAndScores` holds NAME SCORE pairs, best first: at most 8, names of up to 8 small letters
// (what the game's name entry makes), scores 1..4294967295 that never rise. The places after them
// become empty. Both files must exist with their sizes (levelc init-data makes them). On bad input
// neither file is touched and false comes back with one line in `error`.
bool WriteScoreTable(const std::string& directory, int level, const std::vector<std::string>& namesAndScores,
                     std::string& error);
