// Cave scenarios for game tests: a cave drawn in text with the cave legend, keys held on given
// frames, N frames run through the real frame order (PlayOneFrame) with the recording renderer,
// the recording sound device and scripted input, then the cave, globals, sounds and draws checked.
// Depends on game/state.h, game/cave_legend.h, the gfx, audio and input test doubles, GoogleTest.
//
//   Scenario s({"#####",
//               "# o #",
//               "#   #",
//               "#####"});
//   s.Run(16);
//   EXPECT_TRUE(s.CaveIs({"#####",
//                         "#   #",
//                         "# O #",
//                         "#####"}));
//   EXPECT_EQ(s.SoundFrames(SoundFels), std::vector<long>{17});
//
// Rows shorter than 20 characters and rows past the last one given are wall (#), both in the
// cave built and in the cave expected. Frames are counted from 1, the first frame of the level.
#pragma once
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "audio/sound_device.h"
#include "game/state.h"
#include "gfx/render_backend.h"
#include "input/input_source.h"

struct SoundAt {
    long frame;
    int soundId;
    bool operator==(const SoundAt& other) const
    {
        return frame == other.frame && soundId == other.soundId;
    }
};
void PrintTo(const SoundAt& sound, std::ostream* out);

struct DrawAt {
    int strip;
    int frame;
    int x, y;
    bool operator==(const DrawAt& other) const
    {
        return strip == other.strip && frame == other.frame && x == other.x && y == other.y;
    }
};
void PrintTo(const DrawAt& draw, std::ostream* out);

class Scenario {
public:
    // Extra legend entries take precedence over the shared legend.
    using Legend = std::map<char, double>;

    explicit Scenario(const std::vector<std::string>& rows, const Legend& extra = {});
    ~Scenario();
    Scenario(const Scenario&) = delete;
    Scenario& operator=(const Scenario&) = delete;

    // Keys (DirectInput scan codes) held down during frames first..last of the level.
    Scenario& Hold(int scanCode, long firstFrame, long lastFrame);
    Scenario& Press(int scanCode, long atFrame) { return Hold(scanCode, atFrame, atFrame); }
    // The player's figure at cell (x, y), where the cave text has no '@' or the test wants another.
    Scenario& PlacePlayer(int cellX, int cellY);

    // Runs frames through PlayOneFrame; returns false when Escape ended the game first.
    bool Run(long frames);
    // Runs until the next frame with FrameTick 0 has been played (the next simulation step).
    void RunSteps(long steps) { Run(steps * 16); }
    long Frame() const { return frame_; }  // frames played so far

    // The cave as 15 lines of 20 legend characters; unknown codes show as '?'.
    std::string Cave() const;
    // Compares with the expected cave and, on a difference, prints both side by side.
    ::testing::AssertionResult CaveIs(const std::vector<std::string>& rows) const;
    double CellAtXY(int cellX, int cellY) const;
    void SetCell(int cellX, int cellY, double code);

    // Every sound started so far, with the frame it started on.
    std::vector<SoundAt> Sounds() const;
    std::vector<long> SoundFrames(int soundId) const;
    int SoundCount(int soundId) const;

    // Strip frames drawn in the last presented frame (sprite draws, not text).
    std::vector<DrawAt> Draws() const;
    std::vector<DrawAt> DrawsOfStrip(int strip) const;
    // Texts printed in the last presented frame.
    std::vector<std::string> Texts() const;

    RecordingRenderer& renderer();
    RecordingSoundDevice& sound();

private:
    Legend extra_;
    long frame_ = 0;
};

// The cave text of a list of rows, padded with wall to 20 x 15 (for messages and comparisons).
std::string PaddedCave(const std::vector<std::string>& rows, const Scenario::Legend& extra = {});
