#include "tests/support/recording_sound_device.h"

bool RecordingSoundDevice::Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount,
                                   DeviceSamples& out) {
    conversions.push_back({from, byteCount});
    if (refuseConversions) return false;
    // Widens to 16-bit stereo and keeps the rate: enough for tests, which check plays, not pitch.
    out.format = {2, from.sampleRate, 16};
    const size_t frameBytes = static_cast<size_t>(from.bytesPerFrame());
    const size_t frames = frameBytes > 0 ? byteCount / frameBytes : 0;
    out.samples.resize(frames * 2);
    for (size_t f = 0; f < frames; ++f) {
        for (int c = 0; c < 2; ++c) {
            const size_t at = f * frameBytes + (from.channels == 2 ? c : 0) * (from.bitsPerSample / 8);
            const int16_t sample = from.bitsPerSample == 8
                                       ? static_cast<int16_t>((bytes[at] - 128) * 256)
                                       : static_cast<int16_t>(bytes[at] | (bytes[at + 1] << 8));
            out.samples[f * 2 + c] = sample;
        }
    }
    return true;
}

bool RecordingSoundDevice::StartVoice(const VoiceStart& start) {
    plays.push_back({frame, start.soundId, start.voice, start.channel, start.panHundredthsDb,
                     start.volumeHundredthsDb, start.leftGain, start.rightGain});
    playing_[start.channel] = true;
    started_[start.channel] = start.samples;
    return true;
}

void RecordingSoundDevice::StopVoice(int channel) { playing_[channel] = false; }

bool RecordingSoundDevice::VoiceIsPlaying(int channel) {
    auto it = playing_.find(channel);
    return it != playing_.end() && it->second;
}

void RecordingSoundDevice::FinishVoice(int channel) { playing_[channel] = false; }

void RecordingSoundDevice::FinishAll() { playing_.clear(); }

std::vector<int> RecordingSoundDevice::SoundIdsPlayedOn(long atFrame) const {
    std::vector<int> ids;
    for (const Play& play : plays) {
        if (play.frame == atFrame) ids.push_back(play.soundId);
    }
    return ids;
}

std::shared_ptr<const DeviceSamples> RecordingSoundDevice::SamplesOf(int channel) const {
    auto it = started_.find(channel);
    return it == started_.end() ? nullptr : it->second;
}
