#include "platform/sdl_audio.h"

#include <SDL.h>

#include <cstring>
#include <map>
#include <vector>

#include "audio/mixer.h"
#include "audio/sound.h"

// ---------------------------------------------------------------------------------------------
// Conversion

namespace {

// SDL's resampling stream keeps back the last few hundred input frames even after a flush, which
// would cut the end off every sound. Feed silence behind the samples and keep the expected length.
bool PutPaddedSamples(SDL_AudioStream* stream, const PcmFormat& from, const uint8_t* bytes, size_t byteCount) {
    if (SDL_AudioStreamPut(stream, bytes, static_cast<int>(byteCount)) != 0) return false;
    const size_t paddingFrames = static_cast<size_t>(from.sampleRate) / 5 + 1024;
    const std::vector<uint8_t> silence(paddingFrames * from.bytesPerFrame(), from.bitsPerSample == 8 ? 128 : 0);
    return SDL_AudioStreamPut(stream, silence.data(), static_cast<int>(silence.size())) == 0 &&
           SDL_AudioStreamFlush(stream) == 0;
}

}  // namespace

bool ConvertPcmWithSdl(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, const PcmFormat& to,
                       DeviceSamples& out) {
    if (byteCount > static_cast<size_t>(SDL_MAX_SINT32) / 2 || from.bytesPerFrame() <= 0 || from.sampleRate <= 0) {
        return false;
    }
    const SDL_AudioFormat source = from.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
    SDL_AudioStream* stream = SDL_NewAudioStream(source, static_cast<Uint8>(from.channels), from.sampleRate,
                                                 AUDIO_S16SYS, static_cast<Uint8>(to.channels), to.sampleRate);
    if (stream == nullptr) return false;
    const uint64_t inFrames = byteCount / static_cast<size_t>(from.bytesPerFrame());
    const size_t outFrames = static_cast<size_t>((inFrames * static_cast<uint64_t>(to.sampleRate) + from.sampleRate / 2) /
                                                 static_cast<uint64_t>(from.sampleRate));
    out.format = {to.channels, to.sampleRate, 16};
    out.samples.assign(outFrames * static_cast<size_t>(to.channels), 0);
    bool ok = PutPaddedSamples(stream, from, bytes, byteCount);
    const int wanted = static_cast<int>(out.samples.size() * sizeof(int16_t));
    if (ok && wanted > 0) ok = SDL_AudioStreamGet(stream, out.samples.data(), wanted) >= 0;
    SDL_FreeAudioStream(stream);
    return ok;
}

// ---------------------------------------------------------------------------------------------
// The device

namespace {

struct PlayingVoice {
    std::shared_ptr<const DeviceSamples> samples;
    MixingVoice mix;
};

class SdlSoundDevice : public SoundDevice {
public:
    bool Open(bool acceptDummyDriver);
    void Close();

    PcmFormat OutputFormat() const override { return format_; }
    bool Convert(const PcmFormat& from, const uint8_t* bytes, size_t byteCount, DeviceSamples& out) override {
        return ConvertPcmWithSdl(from, bytes, byteCount, format_, out);
    }
    bool StartVoice(const VoiceStart& start) override;
    void StopVoice(int channel) override;
    bool VoiceIsPlaying(int channel) override;

    float outputGain = 1.0f;  // set before the device opens; read by the callback

private:
    static void Callback(void* self, Uint8* stream, int length);
    void Mix(int16_t* out, size_t frames);

    SDL_AudioDeviceID id_ = 0;
    PcmFormat format_;
    std::map<int, PlayingVoice> voices_;  // by channel number; guarded by the device lock
    std::vector<MixingVoice> scratch_;
    bool subsystemStarted_ = false;
};

bool SdlSoundDevice::Open(bool acceptDummyDriver) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    subsystemStarted_ = true;
    const char* driver = SDL_GetCurrentAudioDriver();
    // The dummy driver plays into nothing: the game is meant to run silently there.
    if (driver == nullptr || (!acceptDummyDriver && std::strcmp(driver, "dummy") == 0)) return false;
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = 22050;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;
    want.callback = &SdlSoundDevice::Callback;
    want.userdata = this;
    SDL_AudioSpec have;
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id_ == 0) return false;
    format_ = {2, have.freq, 16};
    scratch_.reserve(2 * kSoundSlotCount * kMaxVoices);  // no allocation on the audio thread
    SDL_PauseAudioDevice(id_, 0);
    return true;
}

void SdlSoundDevice::Close() {
    if (id_ != 0) SDL_CloseAudioDevice(id_);
    id_ = 0;
    voices_.clear();
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
}

bool SdlSoundDevice::StartVoice(const VoiceStart& start) {
    if (id_ == 0 || !start.samples || start.samples->format.channels != format_.channels) return false;
    PlayingVoice voice;
    voice.samples = start.samples;
    voice.mix.samples = start.samples->samples.data();
    voice.mix.frameCount = start.samples->frameCount();
    voice.mix.leftGain = start.leftGain;
    voice.mix.rightGain = start.rightGain;
    SDL_LockAudioDevice(id_);
    voices_[start.channel] = voice;
    SDL_UnlockAudioDevice(id_);
    return true;
}

void SdlSoundDevice::StopVoice(int channel) {
    if (id_ == 0) return;
    SDL_LockAudioDevice(id_);
    voices_.erase(channel);
    SDL_UnlockAudioDevice(id_);
}

bool SdlSoundDevice::VoiceIsPlaying(int channel) {
    if (id_ == 0) return false;
    SDL_LockAudioDevice(id_);
    auto it = voices_.find(channel);
    const bool playing = it != voices_.end() && !it->second.mix.finished();
    SDL_UnlockAudioDevice(id_);
    return playing;
}

void SdlSoundDevice::Callback(void* self, Uint8* stream, int length) {
    auto* device = static_cast<SdlSoundDevice*>(self);
    const size_t frames = static_cast<size_t>(length) / (sizeof(int16_t) * device->format_.channels);
    device->Mix(reinterpret_cast<int16_t*>(stream), frames);
}

// Runs on SDL's audio thread with the device locked. Finished voices stay in the map (as a
// DirectSound buffer stays at its end) until they are started again or stopped.
void SdlSoundDevice::Mix(int16_t* out, size_t frames) {
    scratch_.clear();
    for (auto& entry : voices_) {
        if (!entry.second.mix.finished()) scratch_.push_back(entry.second.mix);
    }
    MixVoices(scratch_.data(), scratch_.size(), format_.channels, out, frames, outputGain);
    size_t next = 0;
    for (auto& entry : voices_) {
        if (!entry.second.mix.finished()) entry.second.mix.position = scratch_[next++].position;
    }
}

SdlSoundDevice gSdlSound;
bool gSdlSoundOpen = false;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Life cycle

SoundDevice* OpenSdlSoundDevice(bool acceptDummyDriver) {
    CloseSdlSoundDevice();
    gSdlSoundOpen = gSdlSound.Open(acceptDummyDriver);
    if (!gSdlSoundOpen) {
        gSdlSound.Close();
        return nullptr;
    }
    return &gSdlSound;
}

void CloseSdlSoundDevice() {
    gSdlSound.Close();
    gSdlSoundOpen = false;
}

void SdlSoundCreateSlots() { CreateSoundSlots(); }

void SdlSoundOpen(float outputGain) {
    gSdlSound.outputGain = outputGain;
    SoundDevice* device = OpenSdlSoundDevice(false);
    SetSoundDevice(device);
}

void SdlSoundShutdown() {
    DestroySoundSlots();
    CloseSdlSoundDevice();
}
