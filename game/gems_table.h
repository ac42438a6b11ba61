// The number of gems each level demands (levels 1..50): the game fills GemsPerLevel from it at
// start-up, and the level tool checks that every level holds enough of them.
// Depends on nothing (header only, usable from tools).
#pragma once

inline constexpr int kLevelCount = 50;
inline constexpr int kGemsTable[kLevelCount] = {
    34, 24, 54, 90, 50, 30, 18, 15, 150, 30,        // 1..10
    150, 50, 36, 100, 50, 20, 24, 100, 18, 90,      // 11..20
    100, 14, 12, 150, 160, 30, 80, 25, 68, 150,     // 21..30
    180, 12, 100, 165, 200, 200, 16, 120, 200, 42,  // 31..40
    20, 220, 55, 26, 150, 15, 70, 100, 45, 56,      // 41..50
};
