// The 50 shipped levels: each compiles, passes the game's own checks, has one exit, holds the
// gems it demands where the player can get at them, and does not fall apart or kill the player
// before the first key is pressed.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "level_source.h"

namespace {

// Gems each level demands (entry 0 unused), as the game's gem table fills them at start-up.
constexpr std::array<int, 51> kGemsPerLevel = {
    0,   34, 24, 54,  90,  50,  30,  18,  15,  150, 30,  150, 50, 36,  100, 50,  20,  24,
    100, 18, 90, 100, 14,  12,  150, 160, 30,  80,  25,  68, 150, 180, 12,  100, 165, 200,
    200, 16, 120, 200, 42, 20,  220, 55,  26,  150, 15,  70, 100, 45,  56};

constexpr int kWidth = 20;
constexpr int kHeight = 15;

enum Code {
    kEmpty = 0, kEarth = 1, kStone = 2, kGem = 3, kSaphir = 4, kDynamite = 5, kExit = 6,
    kWall7 = 7, kKey1 = 8, kWaxStill = 9, kKey2 = 10, kKey3 = 11, kDoor3 = 12, kDoor2 = 13,
    kDoor1 = 14, kLava = 19, kPlayer = 20, kWaxWall = 30,
};

struct Cave {
    int cells[kHeight][kWidth];
    int At(int x, int y) const { return cells[y][x]; }
};

struct ShippedLevel {
    int number;
    std::string path;
    LevelImage image;
    Cave cave;
};

bool IsMaterial(int code) { return code == kStone || code == kGem || code == kSaphir; }
bool IsBug(int code) { return code >= 21 && code <= 24; }
bool IsYamYam(int code) { return code >= 36 && code <= 39; }
bool IsGem(int code) { return code == kGem || code == kSaphir; }

std::string LevelPath(int number) {
    char name[32];
    std::snprintf(name, sizeof name, "/level%02d.txt", number);
    return std::string(SHIPPED_LEVELS_DIR) + name;
}

bool LoadLevel(int number, ShippedLevel& level, std::string& error) {
    level.number = number;
    level.path = LevelPath(number);
    std::ifstream in(level.path);
    if (!in) {
        error = "missing";
        return false;
    }
    std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!CompileLevelSource(source, level.image, error)) return false;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) level.cave.cells[y][x] = level.image.bytes[y * 40 + x];
    return true;
}

std::vector<ShippedLevel> LoadAll() {
    std::vector<ShippedLevel> levels;
    for (int number = 1; number <= 50; ++number) {
        ShippedLevel level;
        std::string error;
        if (LoadLevel(number, level, error)) levels.push_back(level);
        else ADD_FAILURE() << LevelPath(number) << ": " << error;
    }
    return levels;
}

const std::vector<ShippedLevel>& Levels() {
    static const std::vector<ShippedLevel> levels = LoadAll();
    return levels;
}

int CountCells(const Cave& cave, bool (*wanted)(int)) {
    int count = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) count += wanted(cave.At(x, y)) ? 1 : 0;
    return count;
}

// What the player can reach in principle: digging earth, taking what lies about, moving
// stones out of the way, passing doors whose key lies within reach, blasting wall 7 and
// wax once a dynamite stick is within reach. Walls 15..18 and lava always stop the player.
struct Reach {
    std::set<int> cells;   // y * 20 + x
};

bool Passable(int code, const std::set<int>& keys, bool dynamite) {
    switch (code) {
    case kDoor1: return keys.count(kKey1) > 0;
    case kDoor2: return keys.count(kKey2) > 0;
    case kDoor3: return keys.count(kKey3) > 0;
    case kWall7: case kWaxStill: case kWaxWall: return dynamite;
    default: break;
    }
    if (code >= 15 && code <= 19) return false;
    return code <= 11 || code == kPlayer || IsBug(code) || IsYamYam(code);
}

Reach FloodFrom(const Cave& cave, int start, const std::set<int>& keys, bool dynamite) {
    Reach reach;
    std::vector<int> todo = {start};
    reach.cells.insert(start);
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        int cell = todo.back();
        todo.pop_back();
        for (const auto& step : steps) {
            int x = cell % kWidth + step[0], y = cell / kWidth + step[1];
            if (x < 0 || x >= kWidth || y < 0 || y >= kHeight) continue;
            int next = y * kWidth + x;
            if (reach.cells.count(next) || !Passable(cave.At(x, y), keys, dynamite)) continue;
            reach.cells.insert(next);
            todo.push_back(next);
        }
    }
    return reach;
}

Reach Reachable(const Cave& cave, int start) {
    std::set<int> keys;
    bool dynamite = false;
    for (;;) {
        Reach reach = FloodFrom(cave, start, keys, dynamite);
        std::set<int> keysNow = keys;
        bool dynamiteNow = dynamite;
        for (int cell : reach.cells) {
            int code = cave.At(cell % kWidth, cell / kWidth);
            if (code == kKey1 || code == kKey2 || code == kKey3) keysNow.insert(code);
            if (code == kDynamite) dynamiteNow = true;
        }
        if (keysNow == keys && dynamiteNow == dynamite) return reach;
        keys = keysNow;
        dynamite = dynamiteNow;
    }
}

int FindCell(const Cave& cave, int code) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (cave.At(x, y) == code) return y * kWidth + x;
    return -1;
}

TEST(ShippedLevels, AllFiftyCompileAndPassTheGamesChecks) {
    ASSERT_EQ(Levels().size(), 50u);
    for (const ShippedLevel& level : Levels()) {
        EXPECT_EQ(CheckLevel(level.image), "") << level.path;
        EXPECT_FALSE(level.image.name.empty()) << level.path << " has no name";
    }
}

TEST(ShippedLevels, EachHasOneExitAndTheGemsItDemands) {
    for (const ShippedLevel& level : Levels()) {
        EXPECT_EQ(CountCells(level.cave, [](int c) { return c == kExit; }), 1) << level.path;
        EXPECT_GE(CountCells(level.cave, IsGem), kGemsPerLevel[level.number]) << level.path;
    }
}

TEST(ShippedLevels, ExitAndEnoughGemsLieWithinReach) {
    for (const ShippedLevel& level : Levels()) {
        int start = FindCell(level.cave, kPlayer);
        ASSERT_GE(start, 0) << level.path;
        Reach reach = Reachable(level.cave, start);
        EXPECT_TRUE(reach.cells.count(FindCell(level.cave, kExit))) << level.path << ": exit out of reach";
        int gems = 0;
        for (int cell : reach.cells) gems += IsGem(level.cave.At(cell % kWidth, cell / kWidth)) ? 1 : 0;
        EXPECT_GE(gems, kGemsPerLevel[level.number]) << level.path << ": too few gems within reach";
    }
}

// A piece resting on the player's head would follow the player down and crush them; an animal
// beside the start kills before the first key is pressed.
TEST(ShippedLevels, TheStartIsSafe) {
    for (const ShippedLevel& level : Levels()) {
        int start = FindCell(level.cave, kPlayer);
        int x = start % kWidth, y = start / kWidth;
        EXPECT_FALSE(IsMaterial(level.cave.At(x, y - 1))) << level.path << ": material above the start";
        const int around[4] = {level.cave.At(x + 1, y), level.cave.At(x - 1, y), level.cave.At(x, y + 1),
                               level.cave.At(x, y - 1)};
        for (int code : around)
            EXPECT_FALSE(IsBug(code) || IsYamYam(code)) << level.path << ": animal beside the start";
    }
}

// Material above lava sinks at once, so gems placed there would never be collectable.
TEST(ShippedLevels, NoMaterialRestsOnLava) {
    for (const ShippedLevel& level : Levels())
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = 1; x < kWidth - 1; ++x)
                EXPECT_FALSE(IsMaterial(level.cave.At(x, y)) && level.cave.At(x, y + 1) == kLava)
                    << level.path << ": material on lava at " << x << "," << y;
}

// An exploding yam-yam fills its block from the level's packs; empty packs would leave holes.
TEST(ShippedLevels, LevelsWithYamYamsDefineTheirPacks) {
    for (const ShippedLevel& level : Levels()) {
        if (CountCells(level.cave, IsYamYam) == 0) continue;
        int filled = 0;
        for (int entry = kPackStart; entry < kPackStart + kPackCount * 9; ++entry)
            filled += level.image.bytes[entry] != 0 ? 1 : 0;
        EXPECT_EQ(filled, kPackCount * 9) << level.path << ": yam-yams without a full set of packs";
    }
}

// Doors open only onto an empty cell beyond them: a door with earth on both far sides can
// never be passed.
TEST(ShippedLevels, EveryDoorHasRoomBeyondIt) {
    for (const ShippedLevel& level : Levels()) {
        const Cave& cave = level.cave;
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = 1; x < kWidth - 1; ++x) {
                int code = cave.At(x, y);
                if (code < kDoor3 || code > kDoor1) continue;
                bool across = cave.At(x - 1, y) == kEmpty || cave.At(x + 1, y) == kEmpty;
                bool along = cave.At(x, y - 1) == kEmpty || cave.At(x, y + 1) == kEmpty;
                EXPECT_TRUE(across || along) << level.path << ": door at " << x << "," << y;
            }
    }
}

}  // namespace
