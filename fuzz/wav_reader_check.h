// One fuzz input through the WAV reader, the recording device's conversion and the mixer.
// Shared by the libFuzzer target and the corpus replay test. Returns an empty text, or what
// went wrong.
#pragma once
#include <string>
#include <vector>

#include "audio/mixer.h"
#include "audio/wav_reader.h"
#include "tests/support/recording_sound_device.h"

namespace fuzzcheck {

inline std::string CheckWavRead(const uint8_t* data, size_t size) {
    WavSamples wav;
    std::string reason;
    if (!ReadWav(data, size, wav, reason)) return reason.empty() ? "refused without a reason" : "";
    if (wav.bytes < data || wav.bytes + wav.byteCount > data + size) return "samples outside the image";
    if (wav.byteCount % static_cast<size_t>(wav.format.bytesPerFrame()) != 0) return "partial frame";
    RecordingSoundDevice device;
    DeviceSamples samples;
    if (!device.Convert(wav.format, wav.bytes, wav.byteCount, samples)) return "conversion failed";
    MixingVoice voice;
    voice.samples = samples.samples.data();
    voice.frameCount = samples.frameCount();
    voice.leftGain = 0.7f;
    std::vector<int16_t> out(2 * 256);
    MixVoices(&voice, 1, 2, out.data(), 256);
    return "";
}

}  // namespace fuzzcheck
