// A level played headless by the solver: the level's bytes from its source, one play of it frame
// by frame with the keys of every frame kept, rewinding to a saved point, the player's actions
// ("hold these keys until the player starts something"), and the play as a replay.
// Depends on game (runner, snapshot, state, replay) and tools/levelc (level sources).
// The game state is global: one Play exists at a time.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/level_snapshot.h"
#include "game/replay.h"
#include "game/runner.h"

// Keys as a bit set, one bit per key the player uses.
enum KeyBit : uint8_t { kRight = 1, kLeft = 2, kUp = 4, kDown = 8, kCtrl = 16, kSpace = 32 };
constexpr uint8_t kNoKeys = 0;
constexpr int kFramesPerStep = 16;

struct LevelData {
    int number = 0;  // 1..50 picks the gems demanded
    std::array<uint8_t, 1200> bytes{};
    std::string name;
    std::string sourcePath;
    uint32_t crc = 0;
    bool random = false;  // growing walls or yam-yams: each seed plays differently
};

// `what` is a level number (its source is DIR/levelNN.txt) or the path of a level source.
bool LoadLevelData(const std::string& what, const std::string& levelsDir, LevelData& level, std::string& error);
std::string LevelSourcePath(const std::string& levelsDir, int number);
// The level's bytes in a new temporary file (the game loads levels from files); "" on failure.
std::string WriteTemporaryLevel(const std::array<uint8_t, 1200>& bytes);
// The time a level's reference solution must leave: 150 for levels 1-10, 80 to 30, 30 after.
int TimeMargin(int level);

class Play {
public:
    Play(const LevelData& level, uint32_t seed);
    ~Play();
    Play(const Play&) = delete;
    Play& operator=(const Play&) = delete;

    void Frame(uint8_t keys);  // plays one frame with these keys held
    long FrameCount() const { return static_cast<long>(keys_.size()); }
    long GemsTaken() const { return gemsTaken_; }  // gems and saphirs the player took
    const LevelData& level() const { return level_; }
    uint32_t seed() const { return seed_; }

    struct Mark {
        LevelSnapshot state;
        long frames = 0;
        long gemsTaken = 0;
    };
    void Save(Mark& mark) const;
    void Restore(const Mark& mark);  // the keys played after the mark are forgotten
    // Act notes each point where the player stood ready, for pictures of what went wrong.
    void NoteReady() { Save(lastReady_); }
    std::string PictureWhenLastReady();

    // The keys held from frame to frame; frames whose keys nobody reads hold on to the last ones,
    // so a replay line marks each new action.
    Replay ToReplay() const;

private:
    class Keys;
    const LevelData& level_;
    uint32_t seed_;
    std::string levelFile_;
    std::unique_ptr<Keys> input_;
    RunSettings settings_;
    std::unique_ptr<HeadlessLevel> headless_;
    std::vector<uint8_t> keys_;
    std::vector<bool> keysRead_;  // whether the player logic read the keys of that frame
    long gemsTaken_ = 0;
    Mark lastReady_;
};

// ---- The player's state and actions ----------------------------------------------------------

int PlayerCell();
bool PlayerReady();  // the player acts on the next frame's keys
bool LevelEnded();   // exit, death or the end of the clock
RunOutcome Outcome();

enum class ActResult { Started, Blocked, Ended };
// Holds `keys` until the player starts an action (a push or a stick of dynamite waits for the
// first frame of a step), then plays on until the player is ready again or the level ends.
// Blocked: nothing started within a step (two for dynamite).
ActResult Act(Play& play, uint8_t keys);
// Plays `frames` frames with no key held, stopping early if the level ends.
void Idle(Play& play, long frames);
// Idles until the player is ready (after a door, say); false if the level ended first.
bool WaitUntilReady(Play& play);

// The cave in legend characters with the player's cell shown as '@' even where a door hides it,
// one line per row, with column numbers on top and row numbers on the left.
std::string CavePicture();
// "frame 4120, time 236, score 310, gems needed 4"
std::string PlayStatus(const Play& play);
