// The mixer: sums the playing voices with their gains into 16-bit device frames. A pure function
// of its arguments, so the SDL callback and the tests run the same code. Depends on nothing.
#pragma once
#include <cstddef>
#include <cstdint>

struct MixingVoice {
    const int16_t* samples = nullptr;  // interleaved, in the output's channel count
    size_t frameCount = 0;
    size_t position = 0;  // next frame to play; advanced by MixVoices
    float leftGain = 1.0f;
    float rightGain = 1.0f;
    bool finished() const { return position >= frameCount; }
};

// Writes `frames` frames of `channels` (1 or 2) interleaved samples into `out`: the sum of every
// voice's next frames times its gains, rounded and clipped to 16 bits; silence past a voice's end.
// A mono output takes the mean of both gains. `outputGain` scales the sum (the player's volume).
void MixVoices(MixingVoice* voices, size_t voiceCount, int channels, int16_t* out, size_t frames,
               float outputGain = 1.0f);
