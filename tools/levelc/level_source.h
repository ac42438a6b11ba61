// Level sources: a readable text form of the 1200-byte level files (the 20 x 15 cave drawn
// with the cave legend, and the ten yam-yam packs as 3 x 3 blocks), and its compiler.
// Depends on game/cave_legend.h only.
#pragma once
#include <array>
#include <cstdint>
#include <string>

constexpr int kLevelFileBytes = 1200;
constexpr int kPackStart = 600;
constexpr int kPackCount = 10;

struct LevelImage {
    std::array<uint8_t, kLevelFileBytes> bytes{};
    std::string name;
};

// Parses a level source. On failure returns false and sets `error` to "line N: what is wrong".
bool CompileLevelSource(const std::string& source, LevelImage& image, std::string& error);
// The inverse, for looking at a level file: always produces a source that compiles back.
std::string DecompileLevel(const LevelImage& image);
// The game's own checks: an outer ring of walls that nothing can blast or fall through,
// exactly one player. Returns an empty string when the cave is sound.
std::string CheckLevel(const LevelImage& image);
