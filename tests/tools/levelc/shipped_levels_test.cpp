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
    kEmpty = 0, kStone = 2, kGem = 3, kSaphir = 4, kDynamite = 5, kExit = 6, kWall7 = 7, kKey1 = 8,
    kWaxStill = 9, kKey2 = 10, kKey3 = 11, kDoor3 = 12, kDoor2 = 13, kDoor1 = 14, kLava = 19, kPlayer = 20,
    kWaxWall = 30,
};

bool IsMaterial(int code) { return code == kStone || code == kGem || code == kSaphir; }
bool IsAnimal(int code) { return (code >= 21 && code <= 24) || (code >= 36 && code <= 39); }
bool IsYamYam(int code) { return code >= 36 && code <= 39; }
bool IsGem(int code) { return code == kGem || code == kSaphir; }

struct ShippedLevel {
    std::string path;
    int number = 0;
    LevelImage image;
    int At(int x, int y) const { return image.bytes[y * 40 + x]; }
    int AtCell(int cell) const { return At(cell % kWidth, cell / kWidth); }
    int Count(bool (*wanted)(int)) const {
        int count = 0;
        for (int cell = 0; cell < kWidth * kHeight; ++cell) count += wanted(AtCell(cell)) ? 1 : 0;
        return count;
    }
    int Find(int code) const {
        for (int cell = 0; cell < kWidth * kHeight; ++cell)
            if (AtCell(cell) == code) return cell;
        return -1;
    }
};

const std::vector<ShippedLevel>& Levels() {
    static const std::vector<ShippedLevel> levels = [] {
        std::vector<ShippedLevel> all;
        for (int number = 1; number <= 50; ++number) {
            char name[32];
            std::snprintf(name, sizeof name, "/level%02d.txt", number);
            ShippedLevel level;
            level.path = std::string(SHIPPED_LEVELS_DIR) + name;
            level.number = number;
            std::ifstream in(level.path);
            std::string error = in ? "" : "missing";
            const std::string source((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (in && CompileLevelSource(source, level.image, error)) all.push_back(level);
            else ADD_FAILURE() << level.path << ": " << error;
        }
        return all;
    }();
    return levels;
}

// What the player can reach in principle: digging earth, taking what lies about, moving
// stones out of the way, passing doors whose key lies within reach, blasting wall 7 and
// wax once a dynamite stick is within reach. Walls 15..18 and lava always stop the player.
bool Passable(int code, const std::set<int>& keys, bool dynamite) {
    switch (code) {
    case kDoor1: return keys.count(kKey1) > 0;
    case kDoor2: return keys.count(kKey2) > 0;
    case kDoor3: return keys.count(kKey3) > 0;
    case kWall7: case kWaxStill: case kWaxWall: return dynamite;
    default: return code <= 11 || code == kPlayer || IsAnimal(code);
    }
}

std::set<int> FloodFrom(const ShippedLevel& level, int start, const std::set<int>& keys, bool dynamite) {
    std::set<int> reach = {start};
    std::vector<int> todo = {start};
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        const int cell = todo.back();
        todo.pop_back();
        for (const auto& step : steps) {
            const int x = cell % kWidth + step[0], y = cell / kWidth + step[1], next = y * kWidth + x;
            if (x < 0 || x >= kWidth || y < 0 || y >= kHeight || reach.count(next)) continue;
            if (!Passable(level.At(x, y), keys, dynamite)) continue;
            reach.insert(next);
            todo.push_back(next);
        }
    }
    return reach;
}

// Floods again whenever the reached cells hold a new key or the first dynamite.
std::set<int> Reachable(const ShippedLevel& level, int start) {
    std::set<int> keys;
    bool dynamite = false;
    for (;;) {
        const std::set<int> reach = FloodFrom(level, start, keys, dynamite);
        std::set<int> keysNow = keys;
        bool dynamiteNow = dynamite;
        for (int cell : reach) {
            const int code = level.AtCell(cell);
            if (code == kKey1 || code == kKey2 || code == kKey3) keysNow.insert(code);
            dynamiteNow = dynamiteNow || code == kDynamite;
        }
        if (keysNow == keys && dynamiteNow == dynamite) return reach;
        keys = keysNow;
        dynamite = dynamiteNow;
    }
}

TEST(ShippedLevels, AllFiftyCompileAndPassTheGamesChecks) {
    ASSERT_EQ(Levels().size(), 50u);
    for (const ShippedLevel& level : Levels()) {
        EXPECT_EQ(CheckLevel(level.image), "") << level.path;
        EXPECT_FALSE(level.image.name.empty()) << level.path << " has no name";
        EXPECT_EQ(level.Count([](int c) { return c == kExit; }), 1) << level.path;
        EXPECT_GE(level.Count(IsGem), kGemsPerLevel[level.number]) << level.path;
    }
}

TEST(ShippedLevels, ExitAndEnoughGemsLieWithinReach) {
    for (const ShippedLevel& level : Levels()) {
        const int start = level.Find(kPlayer);
        ASSERT_GE(start, 0) << level.path;
        const std::set<int> reach = Reachable(level, start);
        EXPECT_TRUE(reach.count(level.Find(kExit))) << level.path << ": exit out of reach";
        int gems = 0;
        for (int cell : reach) gems += IsGem(level.AtCell(cell)) ? 1 : 0;
        EXPECT_GE(gems, kGemsPerLevel[level.number]) << level.path << ": too few gems within reach";
    }
}

// A piece resting on the player's head would follow the player down and crush them; an animal
// beside the start kills before the first key is pressed.
TEST(ShippedLevels, TheStartIsSafe) {
    for (const ShippedLevel& level : Levels()) {
        const int x = level.Find(kPlayer) % kWidth, y = level.Find(kPlayer) / kWidth;
        EXPECT_FALSE(IsMaterial(level.At(x, y - 1))) << level.path << ": material above the start";
        for (int code : {level.At(x + 1, y), level.At(x - 1, y), level.At(x, y + 1), level.At(x, y - 1)})
            EXPECT_FALSE(IsAnimal(code)) << level.path << ": animal beside the start";
    }
}

// Material above lava sinks at once, so gems placed there would never be collectable.
TEST(ShippedLevels, NoMaterialRestsOnLava) {
    for (const ShippedLevel& level : Levels())
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = 1; x < kWidth - 1; ++x)
                EXPECT_FALSE(IsMaterial(level.At(x, y)) && level.At(x, y + 1) == kLava)
                    << level.path << ": material on lava at " << x << "," << y;
}

// An exploding yam-yam fills its block from the level's packs; empty packs would leave holes.
TEST(ShippedLevels, LevelsWithYamYamsDefineTheirPacks) {
    for (const ShippedLevel& level : Levels()) {
        if (level.Count(IsYamYam) == 0) continue;
        int filled = 0;
        for (int entry = kPackStart; entry < kPackStart + kPackCount * 9; ++entry) filled += level.image.bytes[entry] != 0;
        EXPECT_EQ(filled, kPackCount * 9) << level.path << ": yam-yams without a full set of packs";
    }
}

// Doors open only onto an empty cell beyond them: a door with earth on both far sides can
// never be passed.
TEST(ShippedLevels, EveryDoorHasRoomBeyondIt) {
    for (const ShippedLevel& level : Levels())
        for (int y = 1; y < kHeight - 1; ++y)
            for (int x = 1; x < kWidth - 1; ++x) {
                if (level.At(x, y) < kDoor3 || level.At(x, y) > kDoor1) continue;
                const bool room = level.At(x - 1, y) == kEmpty || level.At(x + 1, y) == kEmpty ||
                                  level.At(x, y - 1) == kEmpty || level.At(x, y + 1) == kEmpty;
                EXPECT_TRUE(room) << level.path << ": door at " << x << "," << y;
            }
}

}  // namespace
