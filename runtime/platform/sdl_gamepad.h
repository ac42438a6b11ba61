// Game controllers as keys: the d-pad and the left stick hold the arrow keys, the buttons Return,
// Space, left Ctrl and Escape, so the game, its replays and recordings see only scan codes.
// Controllers are opened as they are plugged in and closed as they go.
// Depends on SDL's game-controller support; used by the SDL input source.
#pragma once
#include <cstdint>
#include <vector>

#include "input/input_source.h"

struct _SDL_GameController;

class SdlGamepads {
public:
    void Start();
    void Stop();
    // Marks the keys held on any controller as down; SDL's state is as of the last event pump.
    void AddHeldKeys(uint8_t keyState[kKeyStateSize]);

private:
    void FollowPlugging();

    std::vector<_SDL_GameController*> controllers_;
    int knownDevices_ = -1;
    bool started_ = false;
};
