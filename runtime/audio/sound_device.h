// The audio device seam: what the sound slots need from a device (its format, a one-time sample
// conversion, starting, stopping and querying voices). The SDL backend lives in platform/;
// tests have a recording device of their own. Depends on nothing.
#pragma once
#include <cstddef>
#include <cstdint>
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
