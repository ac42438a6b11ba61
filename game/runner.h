// The headless runner: plays one level from its file, frame by frame through the real frame
// order, with a given random seed and scripted keys, and reports how it ended.
// Depends on game/state.h, core (random, clock), gfx (frame presentation) and input (the key
// source it installs). Draws nothing unless asked; then through the installed renderer.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class InputSource;

struct KeyHold {
    int scanCode = 0;
    long firstFrame = 0;  // level frames, the first frame of the level is 1
    long lastFrame = 0;
};

struct RunSettings {
    double level = 1;          // gems demanded and the high-score table
    std::string levelFile;     // empty: "./Maps/Map" + level + "-1.bin"
    uint32_t seed = 1;
    long maxFrames = 19200;    // a whole level's clock is 19,185 frames
    std::vector<KeyHold> keys; // used when `input` is null
    InputSource* input = nullptr;  // a replay, say; it sees level frame n at its frame n - 1
    bool stopWhenOver = true;  // stop at the frame that ends the level (death, exit, time out)
    long framesAfterEnd = 0;   // frames played on after that, to let explosions finish
    bool saveResults = false;  // whether reaching the exit rewrites the name and score files
    bool drawFrames = false;   // draw every frame through the installed renderer (to look at it)
};

enum class RunOutcome { ExitReached, Dead, TimeOut, Running, Escaped };

struct RunReport {
    RunOutcome outcome = RunOutcome::Running;
    long framesPlayed = 0;
    long endFrame = 0;         // the frame on which the level ended; 0 while it runs
    double score = 0;
    double gemsNeeded = 0;
    double timeLeft = 0;
    std::string cave;          // 15 lines of 20 legend characters, each ended by "\n"
};

// The tables are created and filled as at start-up; the level's file must exist (error 3).
RunReport RunLevel(const RunSettings& settings);

// A level set up as RunLevel sets it up, played one frame at a time by a caller that chooses
// the keys as it goes (through `settings.input`). The game state is global: one at a time.
class HeadlessLevel {
public:
    explicit HeadlessLevel(const RunSettings& settings);
    ~HeadlessLevel();
    HeadlessLevel(const HeadlessLevel&) = delete;
    HeadlessLevel& operator=(const HeadlessLevel&) = delete;
    bool PlayFrame();  // one frame of the main game; false when Escape ended it

private:
    struct Session;
    std::unique_ptr<Session> session_;
};

// "exit", "dead", "timeout", "running" or "escape": the names of the result line and the dump.
const char* OutcomeName(RunOutcome outcome);
// How the level played last stands: the first of exit, dead and timeout that applies, else
// escaped when the player left it with Escape, else running.
RunOutcome LevelOutcome(bool leftByEscape);
std::string CaveText();  // the current Cave in legend characters
