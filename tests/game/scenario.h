// Cave scenarios for game tests: a cave drawn in text with the cave legend, keys held on given
// frames, frames run through the real frame order (PlayOneFrame) with the recording renderer,
// sound device and scripted input, then the cave, globals, sounds and draws checked. Rows shorter
// than 20 characters and rows past the last one given are wall (#); frames count from 1, the first
// frame of the level. Also the plain test media and the clock that never waits.
// Depends on game/state.h, the gfx, audio and input test doubles, GoogleTest.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/support/recording_renderer.h"
#include "tests/support/recording_sound_device.h"
#include "tests/support/scripted_input.h"

struct SoundAt {
    long frame;
    int soundId;
    bool operator==(const SoundAt& o) const { return frame == o.frame && soundId == o.soundId; }
};
void PrintTo(const SoundAt& sound, std::ostream* out);

struct DrawAt {
    int strip, frame, x, y;
    bool operator==(const DrawAt& o) const { return strip == o.strip && frame == o.frame && x == o.x && y == o.y; }
};
void PrintTo(const DrawAt& draw, std::ostream* out);

class Scenario {
public:
    explicit Scenario(const std::vector<std::string>& rows);
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // Keys (DirectInput scan codes) held down during frames first..last of the level.
    Scenario& Hold(int scanCode, long firstFrame, long lastFrame);
    // The player's figure at cell (x, y), where the cave text has no '@' or the test wants another.
    Scenario& PlacePlayer(int cellX, int cellY);
    // Puts the player in the bottom-right wall, out of the way of the rules under test.
    Scenario& ParkPlayer() { return PlacePlayer(18, 13); }

    // Runs frames through PlayOneFrame; returns false when Escape ended the game first.
    bool Run(long frames);
    void RunSteps(long steps) { Run(steps * 16); }
    long Frame() const { return frame_; }

    std::string Cave() const;  // 15 lines of 20 legend characters
    // Compares with the expected cave and, on a difference, prints both side by side.
    ::testing::AssertionResult CaveIs(const std::vector<std::string>& rows) const;
    double CellAtXY(int cellX, int cellY) const { return ::Cave.at(cellY * 20 + cellX); }
    void SetCell(int cellX, int cellY, double code) { ::Cave.at(cellY * 20 + cellX) = code; }

    std::vector<SoundAt> Sounds() const;  // every sound started so far, with its frame
    std::vector<long> SoundFrames(int soundId) const;
    int SoundCount(int soundId) const { return static_cast<int>(SoundFrames(soundId).size()); }

    // Strip frames drawn in the last presented frame (all strips for -1), or since then.
    std::vector<DrawAt> Draws(int strip = -1) const;
    std::vector<DrawAt> PendingDraws(int strip) const;
    std::vector<std::string> Texts() const;  // printed in the last presented frame
    RecordingRenderer& renderer();

private:
    long frame_ = 0;
};

// One row of a table of cave scenarios: keys held, frames run, then the cave and every sound
// started (with its frame) compared. A cave without '@' parks the player; `setup` runs first.
struct HeldKey { int scanCode; long firstFrame, lastFrame; };
struct CaveCase {
    const char* name;
    std::vector<std::string> cave;
    std::vector<HeldKey> keys;
    long frames;
    std::vector<std::string> after;
    std::vector<SoundAt> sounds;
    void (*setup)() = nullptr;
};
void CheckCaveCases(const std::vector<CaveCase>& cases);

// Writes a strip of `frames` grey 16 x 16 frames as a 24-bit BMP; the loaders try BMP before PNG.
void WriteStrip(const std::string& path, int frames);
// Frames never wait for their slot: each clock reading lies a second after the last.
void UseFastClock();
