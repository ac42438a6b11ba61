// Test double of the audio device seam: keeps every play and conversion, and lets voices play
// until the test ends them. Depends on audio/sound_device.h.
#pragma once
#include <map>

#include "audio/sound_device.h"

class RecordingSoundDevice : public SoundDevice {
public:
    struct Play : VoiceStart {
        long frame;
    };
    struct Conversion {
        PcmFormat from;
        size_t byteCount;
    };

    long frame = 0;  // set by the test (e.g. once per presented frame); kept with each play
    bool refuseConversions = false;
    std::vector<Play> plays;
    std::vector<Conversion> conversions;

    PcmFormat OutputFormat() const override { return PcmFormat{}; }
    // Widens to 16-bit stereo and keeps the rate: enough for tests, which check plays, not pitch.
    bool Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, DeviceSamples& out) override {
        conversions.push_back({from, byteCount});
        if (refuseConversions) return false;
        out.format = {2, from.sampleRate, 16};
        const size_t frameBytes = size_t(from.bytesPerFrame()), frames = frameBytes ? byteCount / frameBytes : 0;
        out.samples.resize(frames * 2);
        for (size_t i = 0; i < frames * 2; ++i) {
            const uint8_t* at = bytes + i / 2 * frameBytes + (from.channels == 2 ? i % 2 : 0) * (from.bitsPerSample / 8);
            out.samples[i] = int16_t(from.bitsPerSample == 8 ? (at[0] - 128) * 256 : at[0] | at[1] << 8);
        }
        return true;
    }
    bool StartVoice(const VoiceStart& start) override {
        plays.push_back({start, frame});
        playing[start.channel] = true;
        return true;
    }
    void StopVoice(int channel) override { playing[channel] = false; }
    bool VoiceIsPlaying(int channel) override { return playing[channel]; }

    void FinishAll() { playing.clear(); }

    std::map<int, bool> playing;  // by channel; a test ends a voice by setting it false
};
