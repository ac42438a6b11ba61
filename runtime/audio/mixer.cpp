#include "audio/mixer.h"

#include <cmath>

namespace {

int16_t ClipTo16Bits(float sum) {
    const long rounded = std::lround(sum);
    if (rounded > 32767) return 32767;
    if (rounded < -32768) return -32768;
    return static_cast<int16_t>(rounded);
}

// The voice's contribution to one output sample; 0 past its end.
float VoiceSample(const MixingVoice& voice, size_t frame, int channel, int channels) {
    const size_t at = voice.position + frame;
    if (at >= voice.frameCount) return 0.0f;
    const float sample = voice.samples[at * channels + channel];
    if (channels == 1) return sample * 0.5f * (voice.leftGain + voice.rightGain);
    return sample * (channel == 0 ? voice.leftGain : voice.rightGain);
}

}  // namespace

void MixVoices(MixingVoice* voices, size_t voiceCount, int channels, int16_t* out, size_t frames, float outputGain) {
    if (channels != 1 && channels != 2) channels = 2;
    for (size_t frame = 0; frame < frames; ++frame) {
        for (int channel = 0; channel < channels; ++channel) {
            float sum = 0.0f;
            for (size_t v = 0; v < voiceCount; ++v) sum += VoiceSample(voices[v], frame, channel, channels);
            out[frame * channels + channel] = ClipTo16Bits(sum * outputGain);
        }
    }
    for (size_t v = 0; v < voiceCount; ++v) {
        MixingVoice& voice = voices[v];
        voice.position = voice.finished() || voice.frameCount - voice.position < frames ? voice.frameCount
                                                                                        : voice.position + frames;
    }
}
