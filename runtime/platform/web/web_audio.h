// The browser's sound device behind the sound slots: one stereo 22050 Hz output, the voices mixed
// by the pure mixer into short buffers that Web Audio plays back to back. Browsers start sound
// only after the player touches the page, so output begins with the first key press or click;
// until then the voices run on silently in time. Depends on Emscripten and audio/ (seam, mixer).
#pragma once
#include <cstddef>
#include <cstdint>

#include "audio/sound_device.h"

// Converts raw WAV sample bytes to `to` (16-bit signed): 8-bit samples widened, mono doubled or
// stereo averaged, the rate changed by linear interpolation. Pure; needs no device.
bool ConvertPcm(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, const PcmFormat& to,
                DeviceSamples& out);

// The program frame's sound steps (as on the desktop), and the top-up of the queued output,
// called often (every pump and during sleeps); it mixes only what the output is about to need.
void WebSoundCreateSlots();
void WebSoundOpen(float outputGain = 1.0f);  // outputGain scales everything the mixer puts out
void WebSoundShutdown();
void WebSoundService();
