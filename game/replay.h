// Replays: the text file of a recorded run (seed, where it starts, the keys held from frame to
// frame), an input source that plays one back, and one that records the keys of a live source.
// Depends on input (the key source, the scan codes of keys), core (printable excerpts) and zlib.
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "input/input_source.h"

struct ReplayKeys {
    long frame = 0;                 // held from this presented frame until the next change
    std::vector<int> scanCodes;
};

struct Replay {
    uint32_t seed = 0;
    bool startsInLevel = false;     // "start level N", else "start menu"
    int level = 0;
    bool hasLevelCrc = false;
    uint32_t levelCrc = 0;          // CRC-32 of the level file the recording was made on
    std::vector<ReplayKeys> keys;   // in frame order
    long endFrame = -1;             // the recording ends after frame endFrame - 1; -1: no end
};

// On failure returns false and sets `error` to "line N: what is wrong". A replay must end with
// "end N"; a frame limit keeps every run finite.
bool ParseReplay(const std::string& text, Replay& replay, std::string& error);
std::string FormatReplay(const Replay& replay);
uint32_t Crc32(const uint8_t* data, size_t size);
// The CRC-32 of a whole file; false when it cannot be read.
bool FileCrc32(const std::string& path, uint32_t& crc);

// Plays the recorded keys; characters follow a fixed US layout so a replay types the same
// letters on every machine.
class ReplayInput : public InputSource {
public:
    explicit ReplayInput(const Replay& replay) : replay_(replay) {}
    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool) override {}
    void NextFrame() override { ++frame_; }
    long Frame() const { return frame_; }
    bool Finished() const { return replay_.endFrame >= 0 && frame_ >= replay_.endFrame; }

private:
    const Replay& replay_;
    long frame_ = 0;
    size_t linesStarted_ = 0;  // keys lines whose frame has come
};

// Passes a live source through and notes the keys of every frame. The keys are read once per
// frame (at its first poll) and held for the rest of it, so that a replay sees exactly what the
// game saw.
class RecordingInput : public InputSource {
public:
    explicit RecordingInput(InputSource& live) : live_(live) {}
    void Poll(uint8_t keyState[kKeyStateSize]) override;
    int CharacterOfScanCode(int scanCode) override;
    void ShowPointer(bool visible) override { live_.ShowPointer(visible); }
    void NextFrame() override;
    long Frame() const { return frame_; }
    // The keys as replay lines so far; `replay.endFrame` becomes the number of frames seen.
    void FillReplay(Replay& replay) const;

private:
    InputSource& live_;
    long frame_ = 0;
    bool frameRead_ = false;
    uint8_t frameKeys_[kKeyStateSize] = {};
    std::vector<ReplayKeys> changes_;
};
