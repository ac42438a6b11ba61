#include "level_check.h"

#include <set>

#include "game/gems_table.h"

namespace {

constexpr int kWidth = 20;
constexpr int kHeight = 15;

enum Code {
    kEmpty = 0, kStone = 2, kGem = 3, kSaphir = 4, kDynamite = 5, kExit = 6, kWall7 = 7, kKey1 = 8,
    kWaxStill = 9, kKey2 = 10, kKey3 = 11, kDoor3 = 12, kDoor2 = 13, kDoor1 = 14, kLava = 19,
    kPlayer = 20, kWaxWall = 30,
};

bool IsMaterial(int code) { return code == kStone || code == kGem || code == kSaphir; }
bool IsGem(int code) { return code == kGem || code == kSaphir; }
bool IsGemInFlight(int code) { return IsGem(code) || code == 98 || code == 99; }
bool IsYamYam(int code) { return code >= 36 && code <= 39; }
bool IsAnimal(int code) { return (code >= 21 && code <= 24) || IsYamYam(code); }

struct Cave {
    const LevelImage& image;
    int At(int x, int y) const {
        return x < 0 || x >= kWidth || y < 0 || y >= kHeight ? -1 : image.bytes[y * 40 + x];
    }
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

std::string At(int x, int y) { return " at " + std::to_string(x) + "," + std::to_string(y); }

// Earth, things to take, stones (pushed aside in principle) and animals give way; doors once
// their key is in reach; wall 7 and growing walls once dynamite is. Walls 15..18 and lava never.
bool Passable(int code, const std::set<int>& keys, bool dynamite) {
    switch (code) {
    case kDoor1: return keys.count(kKey1) > 0;
    case kDoor2: return keys.count(kKey2) > 0;
    case kDoor3: return keys.count(kKey3) > 0;
    case kWall7: case kWaxStill: case kWaxWall: return dynamite;
    default: return (code >= 0 && code <= 11) || code == kPlayer || IsAnimal(code);
    }
}

std::set<int> FloodFrom(const Cave& cave, int start, const std::set<int>& keys, bool dynamite) {
    std::set<int> reach = {start};
    std::vector<int> todo = {start};
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!todo.empty()) {
        const int cell = todo.back();
        todo.pop_back();
        for (const auto& step : steps) {
            const int x = cell % kWidth + step[0], y = cell / kWidth + step[1];
            if (reach.count(y * kWidth + x) || !Passable(cave.At(x, y), keys, dynamite)) continue;
            reach.insert(y * kWidth + x);
            todo.push_back(y * kWidth + x);
        }
    }
    return reach;
}

// Floods again whenever the reached cells hold a new key or the first dynamite.
std::set<int> Reachable(const Cave& cave, int start) {
    std::set<int> keys;
    bool dynamite = false;
    for (;;) {
        const std::set<int> reach = FloodFrom(cave, start, keys, dynamite);
        std::set<int> keysNow = keys;
        bool dynamiteNow = dynamite;
        for (int cell : reach) {
            const int code = cave.AtCell(cell);
            if (code == kKey1 || code == kKey2 || code == kKey3) keysNow.insert(code);
            dynamiteNow = dynamiteNow || code == kDynamite;
        }
        if (keysNow == keys && dynamiteNow == dynamite) return reach;
        keys = keysNow;
        dynamite = dynamiteNow;
    }
}

// Explosions make gems anywhere in the cave, so what they yield counts as within reach.
void CheckReach(const Cave& cave, int needed, int yield, std::vector<std::string>& problems) {
    const int start = cave.Find(kPlayer);
    if (start < 0) return;
    const std::set<int> reach = Reachable(cave, start);
    if (!reach.count(cave.Find(kExit))) problems.push_back("the exit is out of reach");
    int gems = 0;
    for (int cell : reach) gems += IsGem(cave.AtCell(cell)) ? 1 : 0;
    if (gems + yield < needed)
        problems.push_back("only " + std::to_string(gems) + " gems within reach, " + std::to_string(needed) + " needed");
}

// A piece on the player's head follows the player down; an animal beside the start kills at once.
void CheckStart(const Cave& cave, std::vector<std::string>& problems) {
    const int start = cave.Find(kPlayer);
    if (start < 0) return;
    const int x = start % kWidth, y = start / kWidth;
    if (IsMaterial(cave.At(x, y - 1))) problems.push_back("material above the start");
    for (int code : {cave.At(x + 1, y), cave.At(x - 1, y), cave.At(x, y + 1), cave.At(x, y - 1)})
        if (IsAnimal(code)) problems.push_back("an animal beside the start");
}

// Material on lava sinks at once; a door opens only onto an empty cell beyond it.
void CheckCells(const Cave& cave, std::vector<std::string>& problems) {
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x) {
            const int code = cave.At(x, y);
            if (IsMaterial(code) && cave.At(x, y + 1) == kLava) problems.push_back("material on lava" + At(x, y));
            const bool door = code >= kDoor3 && code <= kDoor1;
            const bool room = cave.At(x - 1, y) == kEmpty || cave.At(x + 1, y) == kEmpty ||
                              cave.At(x, y - 1) == kEmpty || cave.At(x, y + 1) == kEmpty;
            if (door && !room) problems.push_back("no room beyond the door" + At(x, y));
        }
}

// An exploding yam-yam fills its block from the packs; empty entries would leave holes.
void CheckPacks(const Cave& cave, std::vector<std::string>& problems) {
    if (cave.Count(IsYamYam) == 0) return;
    for (int entry = kPackStart; entry < kPackStart + kPackCount * 9; ++entry)
        if (cave.image.bytes[entry] == 0) return problems.push_back("yam-yams without a full set of packs");
}

}  // namespace

int ExplosionYield(const std::array<uint8_t, kLevelFileBytes>& bytes) {
    const LevelImage image{bytes, ""};
    const Cave cave{image};
    std::set<int> blasted;
    int yamYams = 0;
    for (int y = 1; y < kHeight - 1; ++y)
        for (int x = 1; x < kWidth - 1; ++x) {
            const int code = cave.At(x, y);
            yamYams += IsYamYam(code) ? 1 : 0;
            if (code < 21 || code > 24) continue;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int near = cave.At(x + dx, y + dy);
                    const bool blastProof = near < 0 || (near >= 12 && near <= 19);
                    if (!blastProof && !IsGemInFlight(near)) blasted.insert((y + dy) * kWidth + x + dx);
                }
        }
    // A pack that holds a yam-yam breeds: then every stone may kill once more.
    bool breeding = false;
    for (int entry = kPackStart; entry < kPackStart + kPackCount * 9; ++entry)
        breeding = breeding || IsYamYam(bytes[entry]);
    if (yamYams > 0 && breeding) yamYams += cave.Count([](int code) { return code == kStone; });
    int yield = static_cast<int>(blasted.size());
    for (int k = 0; k < yamYams; ++k)
        for (int entry = 0; entry < 9; ++entry) yield += IsGemInFlight(bytes[kPackStart + (k % kPackCount) * 9 + entry]) ? 1 : 0;
    return yield;
}

std::vector<std::string> LevelDesignProblems(const LevelImage& image, int levelNumber) {
    std::vector<std::string> problems;
    const Cave cave{image};
    const int exits = cave.Count([](int code) { return code == kExit; });
    if (exits != 1) problems.push_back("a level needs exactly one exit, found " + std::to_string(exits));
    const int needed = levelNumber >= 1 && levelNumber <= kLevelCount ? kGemsTable[levelNumber - 1] : 0;
    const int yield = ExplosionYield(image.bytes);
    if (cave.Count(IsGem) + yield < needed)
        problems.push_back("holds " + std::to_string(cave.Count(IsGem)) + " gems" +
                           (yield > 0 ? " and can yield " + std::to_string(yield) : "") + ", " +
                           std::to_string(needed) + " needed");
    CheckReach(cave, needed, yield, problems);
    CheckStart(cave, problems);
    CheckCells(cave, problems);
    CheckPacks(cave, problems);
    return problems;
}
