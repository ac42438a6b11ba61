// Sound slots: 256 slots (ids 0..127 reached) of 1 to 4 voices sharing one sample buffer, loaded
// from WAV files through the media archive, played round robin with pan and volume.
// Depends on core (media archive, strings) and on a SoundDevice; never on SDL.
// Sound is best effort: without a device loads give 0 and plays -1, and nothing is raised.
#pragma once
#include "audio/sound_device.h"
#include "core/rt_string.h"

constexpr int kSoundSlotCount = 256;
constexpr int kHighestSoundId = 127;
constexpr int kMaxVoices = 4;

// Runtime commands used by the game.
double LoadSound(const char* fileName, double id, double voices);  // 1 loaded, 0 not
double LoadSound(const RtString& fileName, double id, double voices);
double PlaySound(double id, double pan, double volume);  // channel voice + 256 * id, or -1
double SoundIsPlaying(double channel);                   // 1 or 0
void StopAllSounds();

// Life cycle, called by the program frame's device steps. The device is not owned; null means
// no sound device (every load fails, every play gives -1).
void CreateSoundSlots();
void SetSoundDevice(SoundDevice* device);
SoundDevice* CurrentSoundDevice();
void DestroySoundSlots();  // last slot first; forgets the device

// Exposed for tests: the play parameter mapping, in hundredths of a decibel.
int PanToHundredthsDb(double pan);
int VolumeToHundredthsDb(double volume);
// Linear gains of the left and right channel for a volume and pan in hundredths of a decibel.
void GainsFromHundredthsDb(int volumeHundredthsDb, int panHundredthsDb, float& left, float& right);
