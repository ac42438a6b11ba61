// The sound synthesiser: voices of waveforms with envelopes, pitch slides, arpeggios, FM, noise and
// filters, summed and brought to a common loudness. Sources are parameter files (see assets/sounds).
// Depends on script_reader. Owns no state; the same source always renders the same samples.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "script_reader.h"

enum class Wave { Sine, Square, Triangle, Saw, Noise };
enum class FilterKind { None, LowPass, HighPass, BandPass };

struct Slide {  // a value that moves from `from` to `to` over a voice's length (exponentially)
    double from = 0, to = 0;
};

struct Envelope {
    double attack = 0.002, hold = 0, decay = 0, sustain = 0, release = 0;  // no decay: held at full level
};

struct Voice {
    Wave wave = Wave::Sine;
    double start = 0, length = -1;  // seconds; length -1 runs to the end of the sound
    Slide pitch{440, 440};
    double duty = 0.5;
    Envelope envelope;
    FilterKind filter = FilterKind::None;
    Slide cutoff{2000, 2000};
    double resonance = 0.7;
    double vibratoRate = 0, vibratoSemitones = 0;
    std::vector<double> notes;  // arpeggio in semitones above the pitch, one every `noteSeconds`
    double noteSeconds = 0;
    double fmRatio = 0, fmIndex = 0;
    double noiseHoldHz = 0;  // noise holds each value this long: lower, grittier noise
    double retrigger = 0;    // restarts the envelope every so many seconds
    double gain = 1;
};

struct SoundScript {
    int sampleRate = 22050;
    double length = 0.2;
    double loudnessDb = -16;  // level of the loudest 30 ms, in dB below full scale
    std::vector<Voice> voices;
};

SoundScript ParseSound(const std::vector<ScriptLine>& lines);
std::vector<int16_t> RenderSound(const SoundScript& script);
// Level in dB full scale of the loudest 30 ms window: what the loudness target is measured on.
double LoudestWindowDb(const std::vector<int16_t>& samples, int sampleRate);
