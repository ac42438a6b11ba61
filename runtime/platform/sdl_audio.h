// The SDL2 audio device behind the sound slots: one output stream (22050 Hz stereo 16-bit, or the
// rate SDL gives), SDL_AudioStream conversion at load time, and the voices mixed in SDL's callback.
// Depends on SDL2 and audio/ (seam, mixer). Only this file and its .cpp touch SDL audio.
#pragma once
#include <string>

#include "audio/sound_device.h"

// Converts raw WAV sample bytes to `to` (16-bit signed) with SDL's own converter. Needs no device.
bool ConvertPcmWithSdl(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, const PcmFormat& to,
                       DeviceSamples& out);

// The program frame's sound steps: the slots when the devices are created, the device when input
// and sound are opened, and at the end the slots (last first) and then the device. Without a sound
// card, or with SDL_AUDIODRIVER=dummy, no device is opened and the game runs silently.
void SdlSoundCreateSlots();
void SdlSoundOpen(float outputGain = 1.0f);  // outputGain scales everything the mixer puts out
void SdlSoundShutdown();

// Opens the device directly; `acceptDummyDriver` lets tests run the real mixer thread headless.
// Null when no device could be opened.
SoundDevice* OpenSdlSoundDevice(bool acceptDummyDriver);
void CloseSdlSoundDevice();
