#include "platform/web/web_audio.h"

#include <emscripten.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "audio/mixer.h"
#include "audio/sound.h"

// ---------------------------------------------------------------------------------------------
// Conversion

namespace {

// One channel's sample of a frame as a signed 16-bit value.
int SampleAt(const PcmFormat& from, const uint8_t* bytes, size_t frame, int channel) {
    const uint8_t* at = bytes + frame * from.bytesPerFrame() + channel * (from.bitsPerSample / 8);
    if (from.bitsPerSample == 8) return (static_cast<int>(at[0]) - 128) * 256;
    return static_cast<int16_t>(static_cast<uint16_t>(at[0] | at[1] << 8));
}

double ChannelSample(const PcmFormat& from, const uint8_t* bytes, size_t frame, int outChannel) {
    if (from.channels == 1) return SampleAt(from, bytes, frame, 0);
    if (outChannel < from.channels) return SampleAt(from, bytes, frame, outChannel);
    return 0.5 * (SampleAt(from, bytes, frame, 0) + SampleAt(from, bytes, frame, 1));
}

int16_t Rounded16(double value) {
    return static_cast<int16_t>(std::max(-32768.0, std::min(32767.0, std::round(value))));
}

}  // namespace

bool ConvertPcm(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, const PcmFormat& to,
                DeviceSamples& out) {
    bool knownDepth = from.bitsPerSample == 8 || from.bitsPerSample == 16;
    if (!knownDepth || from.channels < 1 || from.channels > 2 || from.sampleRate <= 0 || to.sampleRate <= 0 ||
        to.channels < 1 || to.channels > 2) {
        return false;
    }
    const size_t inFrames = byteCount / static_cast<size_t>(from.bytesPerFrame());
    const size_t outFrames = static_cast<size_t>(
        (static_cast<uint64_t>(inFrames) * to.sampleRate + from.sampleRate / 2) / from.sampleRate);
    out.format = {to.channels, to.sampleRate, 16};
    out.samples.assign(outFrames * static_cast<size_t>(to.channels), 0);
    const double step = static_cast<double>(from.sampleRate) / to.sampleRate;
    for (size_t frame = 0; frame < outFrames && inFrames > 0; ++frame) {
        const double position = frame * step;
        const size_t before = std::min(static_cast<size_t>(position), inFrames - 1);
        const size_t after = std::min(before + 1, inFrames - 1);
        const double weight = position - static_cast<double>(before);
        for (int channel = 0; channel < to.channels; ++channel) {
            double a = ChannelSample(from, bytes, before, channel);
            double b = ChannelSample(from, bytes, after, channel);
            out.samples[frame * to.channels + channel] = Rounded16(a + (b - a) * weight);
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Web Audio

// The context is made (or woken) inside the first key press or click, which browsers require.
EM_JS(void, WebAudioListenForFirstTouch, (), {
    if (Module.tumbrelAudio) return;
    var audio = Module.tumbrelAudio = { context: null, next: 0 };
    function wake() {
        try {
            if (!audio.context) {
                var Context = window.AudioContext || window.webkitAudioContext;
                if (!Context) return;
                audio.context = new Context();
            }
            if (audio.context.state !== "running") audio.context.resume();
        } catch (e) {
            console.warn("tumbrel: no sound: " + e);
        }
    }
    window.addEventListener("keydown", wake, true);
    window.addEventListener("mousedown", wake, true);
    window.addEventListener("touchend", wake, true);
});

// Seconds of output queued ahead of what is heard; -1 while there is no running output.
EM_JS(double, WebAudioQueuedSeconds, (), {
    var audio = Module.tumbrelAudio;
    if (!audio || !audio.context || audio.context.state !== "running") return -1;
    return Math.max(0, audio.next - audio.context.currentTime);
});

// Plays `frames` interleaved stereo 16-bit frames right after what is already queued.
EM_JS(void, WebAudioQueue, (const int16_t* samples, int frames, int rate), {
    var audio = Module.tumbrelAudio;
    var context = audio.context;
    var buffer = context.createBuffer(2, frames, rate);
    var left = buffer.getChannelData(0);
    var right = buffer.getChannelData(1);
    var at = samples >> 1;
    for (var i = 0; i < frames; i++) {
        left[i] = HEAP16[at + 2 * i] / 32768;
        right[i] = HEAP16[at + 2 * i + 1] / 32768;
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    // After a gap (a long frame, a paused tab) playing starts again a little ahead of now.
    var start = Math.max(audio.next, context.currentTime + 0.02);
    source.start(start);
    audio.next = start + frames / rate;
});

// ---------------------------------------------------------------------------------------------
// The device

namespace {

constexpr int kOutputRate = 22050;
constexpr size_t kChunkFrames = 1024;     // about 46 ms
constexpr double kQueueAheadSeconds = 0.1;

struct PlayingVoice {
    std::shared_ptr<const DeviceSamples> samples;
    MixingVoice mix;
};

class WebSoundDevice : public SoundDevice {
public:
    PcmFormat OutputFormat() const override { return {2, kOutputRate, 16}; }
    bool Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, DeviceSamples& out) override {
        return ConvertPcm(from, bytes, byteCount, OutputFormat(), out);
    }
    bool StartVoice(const VoiceStart& start) override;
    void StopVoice(int channel) override { voices_.erase(channel); }
    bool VoiceIsPlaying(int channel) override;

    void Open(float outputGain);
    void Close() { voices_.clear(); }
    void Service();

private:
    void MixInto(int16_t* out, size_t frames);
    void RunSilently(size_t frames);

    std::map<int, PlayingVoice> voices_;  // by channel; finished voices stay until restarted
    std::vector<MixingVoice> scratch_;
    std::vector<int16_t> chunk_;
    double lastServiceMs_ = 0;
    double silentFrames_ = 0;  // owed to the voices while nothing is heard
    float outputGain_ = 1.0f;
};

bool WebSoundDevice::StartVoice(const VoiceStart& start) {
    if (!start.samples || start.samples->format.channels != 2) return false;
    PlayingVoice voice;
    voice.samples = start.samples;
    voice.mix.samples = start.samples->samples.data();
    voice.mix.frameCount = start.samples->frameCount();
    voice.mix.leftGain = start.leftGain;
    voice.mix.rightGain = start.rightGain;
    voices_[start.channel] = voice;
    return true;
}

bool WebSoundDevice::VoiceIsPlaying(int channel) {
    auto it = voices_.find(channel);
    return it != voices_.end() && !it->second.mix.finished();
}

void WebSoundDevice::Open(float outputGain) {
    outputGain_ = outputGain;
    WebAudioListenForFirstTouch();
    chunk_.assign(kChunkFrames * 2, 0);
    lastServiceMs_ = emscripten_get_now();
}

void WebSoundDevice::MixInto(int16_t* out, size_t frames) {
    scratch_.clear();
    for (auto& entry : voices_) {
        if (!entry.second.mix.finished()) scratch_.push_back(entry.second.mix);
    }
    MixVoices(scratch_.data(), scratch_.size(), 2, out, frames, outputGain_);
    size_t next = 0;
    for (auto& entry : voices_) {
        if (!entry.second.mix.finished()) entry.second.mix.position = scratch_[next++].position;
    }
}

// Without output the voices still end when they would have been heard to the end.
void WebSoundDevice::RunSilently(size_t frames) {
    for (auto& entry : voices_) {
        MixingVoice& mix = entry.second.mix;
        mix.position = std::min(mix.frameCount, mix.position + frames);
    }
}

void WebSoundDevice::Service() {
    const double nowMs = emscripten_get_now();
    const double elapsedMs = std::max(0.0, nowMs - lastServiceMs_);
    lastServiceMs_ = nowMs;
    double queued = WebAudioQueuedSeconds();
    if (queued < 0) {
        silentFrames_ += elapsedMs * kOutputRate / 1000;
        RunSilently(static_cast<size_t>(silentFrames_));
        silentFrames_ -= std::floor(silentFrames_);
        return;
    }
    for (; queued < kQueueAheadSeconds; queued += double(kChunkFrames) / kOutputRate) {
        MixInto(chunk_.data(), kChunkFrames);
        WebAudioQueue(chunk_.data(), static_cast<int>(kChunkFrames), kOutputRate);
    }
}

WebSoundDevice gWebSound;
bool gWebSoundOpen = false;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life cycle

void WebSoundCreateSlots() { CreateSoundSlots(); }

void WebSoundOpen(float outputGain) {
    gWebSound.Open(outputGain);
    gWebSoundOpen = true;
    SetSoundDevice(&gWebSound);
}

void WebSoundShutdown() {
    DestroySoundSlots();
    gWebSound.Close();
    gWebSoundOpen = false;
}

void WebSoundService() {
    if (gWebSoundOpen) gWebSound.Service();
}
