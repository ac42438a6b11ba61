// The WAV reader of the sound slots: finds the format and the "data" chunk of a RIFF WAVE
// image the way the runtime always has (36-byte start, 14 bytes skipped after a longer format
// chunk, one "fact" chunk skipped). Depends on sound_device.h (PcmFormat) only. Pure, no I/O.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "audio/sound_device.h"

struct WavSamples {
    PcmFormat format;
    const uint8_t* bytes = nullptr;  // points into the image handed to ReadWav
    size_t byteCount = 0;            // whole frames only
};

// Largest sample block a sound slot accepts; sounds of the game are a few hundred kilobytes.
constexpr size_t kMaxWavBytes = 64u << 20;

// False with a one-line reason when the image is not a WAV file the slots can play.
bool ReadWav(const uint8_t* image, size_t imageSize, WavSamples& out, std::string& reason);
