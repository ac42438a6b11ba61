// The audio device seam: what the sound slots need from a device (its format, a one-time sample
// conversion, starting, stopping and querying voices). The SDL backend lives in platform/;
// RecordingSoundDevice stands in for tests and records every play. Depends on nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// Linear PCM as a WAV file or a device describes it. Only 8-bit unsigned and 16-bit signed
// little-endian samples occur.
struct PcmFormat {
    int channels = 2;
    int sampleRate = 22050;
    int bitsPerSample = 16;
    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
};

// Samples already in the device's format: interleaved signed 16-bit frames. All voices of a
// slot share one of these.
struct DeviceSamples {
    PcmFormat format;
    std::vector<int16_t> samples;
    size_t frameCount() const { return format.channels > 0 ? samples.size() / format.channels : 0; }
};

// One start of a voice. Pan and volume are in hundredths of a decibel (0 = full, -10000 = silent);
// the gains are the linear factors per output channel derived from them.
struct VoiceStart {
    int soundId = 0;
    int voice = 0;
    int channel = 0;  // voice + 256 * soundId
    int panHundredthsDb = 0;
    int volumeHundredthsDb = 0;
    float leftGain = 1.0f;
    float rightGain = 1.0f;
    std::shared_ptr<const DeviceSamples> samples;
};

class SoundDevice {
public:
    virtual ~SoundDevice() = default;
    virtual PcmFormat OutputFormat() const = 0;
    // Converts raw WAV sample bytes of `from` into the device format, once at load time.
    virtual bool Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount,
                         DeviceSamples& out) = 0;
    // Starts the voice from the first frame, playing once; a voice of that channel that still
    // plays is replaced.
    virtual bool StartVoice(const VoiceStart& start) = 0;
    virtual void StopVoice(int channel) = 0;
    virtual bool VoiceIsPlaying(int channel) = 0;
};

// Test device: keeps every play, lets voices play until the test ends them.
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
