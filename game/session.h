// A run of the program as its command line asks for it: recording or replaying keys, counting
// presented frames, screenshots, the frame limit, and what is reported when the program ends
// (the result line, the JSON dump, the recording). Without options it changes nothing.
// Depends on game/options.h, game/replay.h, game/state.h and the gfx/input seams.
#pragma once
#include <string>

#include "game/options.h"
#include "game/replay.h"

struct SessionConfig {
    Options options;
    bool haveReplay = false;
    Replay replay;
    uint32_t seed = 0;  // the seed the run uses (given, replayed, or taken from the clock)
    // Writes the current frame as a PNG; the platform provides it.
    bool (*saveScreenshot)(const std::string& path, std::string* error) = nullptr;
};

// After the runtime has started and before the game's main routine: hooks into frame
// presentation (to count frames, take screenshots and leave undrawn the frames a headless run
// does not save), seeds the random numbers and installs the exit report.
void BeginSession(const SessionConfig& config);
// The next presented frame is frame 0: the menu or the level starts now. Installs the replay
// or the recorder as the key source.
void StartCountingFrames();
long FramesCounted();
// A level started from the menu or the command line, and its end by Escape.
void NoteLevelStarted();
void NoteLevelLeft();

// "exit", "dead", "timeout", "running" or "escape".
const char* SessionOutcome();
std::string ResultLine();
std::string StateJson();
