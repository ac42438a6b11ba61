// Test double of the audio device seam: keeps every play and lets voices play until the test
// ends them. Depends on audio/sound_device.h.
#pragma once
#include <map>

#include "audio/sound_device.h"

class RecordingSoundDevice : public SoundDevice {
public:
    struct Play {
        long frame;  // the value of `frame` when the voice started
        int soundId;
        int voice;
        int channel;
        int panHundredthsDb;
        int volumeHundredthsDb;
        float leftGain;
        float rightGain;
    };
    struct Conversion {
        PcmFormat from;
        size_t byteCount;
    };

    long frame = 0;  // set by the test (e.g. once per presented frame)
    bool refuseConversions = false;
    std::vector<Play> plays;
    std::vector<Conversion> conversions;

    PcmFormat OutputFormat() const override { return outputFormat_; }
    bool Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount,
                 DeviceSamples& out) override;
    bool StartVoice(const VoiceStart& start) override;
    void StopVoice(int channel) override;
    bool VoiceIsPlaying(int channel) override;

    void FinishVoice(int channel);  // the voice reaches its end
    void FinishAll();
    std::vector<int> SoundIdsPlayedOn(long atFrame) const;
    // The samples a channel was last started with (null when never started).
    std::shared_ptr<const DeviceSamples> SamplesOf(int channel) const;

private:
    PcmFormat outputFormat_;
    std::map<int, bool> playing_;
    std::map<int, std::shared_ptr<const DeviceSamples>> started_;
};
