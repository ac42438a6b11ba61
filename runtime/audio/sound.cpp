#include "audio/sound.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/wav_reader.h"
#include "core/media_archive.h"

// ---------------------------------------------------------------------------------------------
// Types and global state

namespace {

struct SoundSlot {
    int voiceCount = 0;  // 0 = empty
    int currentVoice = 0;
    std::string fileName;
    SoundDevice* device = nullptr;  // cleared when the samples could not be made for it
    std::shared_ptr<const DeviceSamples> samples;
};

struct SoundState {
    SoundDevice* device = nullptr;
    SoundSlot slots[kSoundSlotCount];
};
SoundState gSound;

int ChannelOf(int id, int voice) { return voice + 256 * id; }

// Ids are truncated toward zero and capped at 127; negative ids (and NaN) reach no slot.
int SoundIdFrom(double id) {
    if (!(id > -1.0)) return -1;
    if (id >= kHighestSoundId) return kHighestSoundId;
    return static_cast<int>(id);
}

void StopVoices(int id) {
    SoundSlot& slot = gSound.slots[id];
    if (slot.device == nullptr) return;
    for (int voice = 0; voice < slot.voiceCount; ++voice) slot.device->StopVoice(ChannelOf(id, voice));
}

void EmptySlot(int id) {
    StopVoices(id);
    gSound.slots[id] = SoundSlot{};
}

// ---------------------------------------------------------------------------------------------
// Loading

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::string diskPath = path;
    for (char& c : diskPath) {
        if (c == '\\') c = '/';
    }
    FILE* file = std::fopen(diskPath.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.clear();
    uint8_t block[65536];
    size_t got;
    bool tooLarge = false;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
        // Room for the headers around the largest sample block.
        if (bytes.size() > kMaxWavBytes + 65536) {
            tooLarge = true;
            break;
        }
    }
    const bool readError = std::ferror(file) != 0;
    std::fclose(file);
    return !tooLarge && !readError;
}

void ReportRefusedSound(const std::string& fileName, const std::string& reason) {
    std::fprintf(stderr, "Sound \"%s\" not loaded: %s.\n", fileName.c_str(), reason.c_str());
}

// Reads the WAV file and converts it to the device format; false leaves `samples` unset.
bool LoadSamples(SoundSlot& slot, const std::string& path) {
    std::vector<uint8_t> image;
    if (path.empty() || !ReadWholeFile(path, image)) {
        ReportRefusedSound(slot.fileName, "not found on disk or in the media archive, or unreadable");
        return false;
    }
    WavSamples wav;
    std::string reason;
    if (!ReadWav(image.data(), image.size(), wav, reason)) {
        ReportRefusedSound(slot.fileName, reason);
        return false;
    }
    auto converted = std::make_shared<DeviceSamples>();
    if (!slot.device->Convert(wav.format, wav.bytes, wav.byteCount, *converted) ||
        converted->frameCount() == 0) {
        slot.device = nullptr;
        ReportRefusedSound(slot.fileName, "the audio device cannot take its format");
        return false;
    }
    slot.samples = converted;
    return true;
}

int VoiceCountFrom(double voices) {
    if (!(voices >= 2)) return 1;
    if (voices >= kMaxVoices) return kMaxVoices;
    return static_cast<int>(voices);
}

// ---------------------------------------------------------------------------------------------
// Playing

// The voice to start, or -1 when the slot's only voice is still playing.
int ChooseVoice(int id) {
    SoundSlot& slot = gSound.slots[id];
    if (!slot.device->VoiceIsPlaying(ChannelOf(id, slot.currentVoice))) return slot.currentVoice;
    if (slot.voiceCount < 2) return -1;
    slot.currentVoice = (slot.currentVoice + 1) % slot.voiceCount;
    const int channel = ChannelOf(id, slot.currentVoice);
    if (slot.device->VoiceIsPlaying(channel)) slot.device->StopVoice(channel);
    return slot.currentVoice;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Play parameter mapping

int PanToHundredthsDb(double pan) {
    if (std::isnan(pan)) return 0;
    if (pan < -1.0) pan = -1.0;
    if (pan > 1.0) pan = 1.0;
    return static_cast<int>(pan * 10000.0);
}

int VolumeToHundredthsDb(double volume) {
    double percent = std::isnan(volume) ? 0.0 : volume * 100.0;
    if (percent < 0.0) percent = 0.0;
    if (percent > 100.0) percent = 100.0;
    return static_cast<int>(percent) * 100 - 10000;
}

void GainsFromHundredthsDb(int volumeHundredthsDb, int panHundredthsDb, float& left, float& right) {
    // Pan attenuates only the far side; -10000 hundredths (-100 dB) and below are silence.
    const int leftDb = volumeHundredthsDb - (panHundredthsDb > 0 ? panHundredthsDb : 0);
    const int rightDb = volumeHundredthsDb + (panHundredthsDb < 0 ? panHundredthsDb : 0);
    auto gain = [](int hundredthsDb) {
        return hundredthsDb <= -10000 ? 0.0f : static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
    };
    left = gain(leftDb);
    right = gain(rightDb);
}

// ---------------------------------------------------------------------------------------------
// Runtime commands

double LoadSound(const char* fileName, double id, double voices) {
    const int slotId = SoundIdFrom(id);
    if (slotId < 0) return 0;
    const std::string requested = fileName != nullptr ? fileName : "";
    std::string path;
    if (!ResolveMediaFile(MediaSlotMedia, requested, path)) path.clear();

    EmptySlot(slotId);
    SoundSlot& slot = gSound.slots[slotId];
    slot.fileName = requested;
    slot.device = gSound.device;
    const int voiceCount = VoiceCountFrom(voices);
    if (slot.device == nullptr || !LoadSamples(slot, path)) return 0;
    slot.voiceCount = voiceCount;
    return 1;
}

double LoadSound(const RtString& fileName, double id, double voices) {
    return LoadSound(StrChars(fileName), id, voices);
}

double PlaySound(double id, double pan, double volume) {
    const int slotId = SoundIdFrom(id);
    if (slotId < 0) return -1;
    VoiceStart start;
    start.soundId = slotId;
    start.panHundredthsDb = PanToHundredthsDb(pan);
    start.volumeHundredthsDb = VolumeToHundredthsDb(volume);
    SoundSlot& slot = gSound.slots[slotId];
    // Samples are in the format of the device they were loaded for.
    if (slot.device == nullptr || slot.device != gSound.device || slot.voiceCount == 0) return -1;
    start.voice = ChooseVoice(slotId);
    if (start.voice < 0) return -1;
    start.channel = ChannelOf(slotId, start.voice);
    GainsFromHundredthsDb(start.volumeHundredthsDb, start.panHundredthsDb, start.leftGain, start.rightGain);
    start.samples = slot.samples;
    if (!slot.device->StartVoice(start)) return -1;
    return start.channel;
}

double SoundIsPlaying(double channel) {
    if (!(channel >= 0) || channel >= 256.0 * kSoundSlotCount) return 0;
    const int number = static_cast<int>(channel);
    const int id = number / 256;
    const int voice = number % 256;
    const SoundSlot& slot = gSound.slots[id];
    if (voice >= slot.voiceCount || slot.device == nullptr) return 0;
    return slot.device->VoiceIsPlaying(number) ? 1 : 0;
}

void StopAllSounds() {
    for (int id = 0; id <= kHighestSoundId; ++id) StopVoices(id);
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void CreateSoundSlots() {
    for (int id = 0; id < kSoundSlotCount; ++id) gSound.slots[id] = SoundSlot{};
}

void SetSoundDevice(SoundDevice* device) { gSound.device = device; }

SoundDevice* CurrentSoundDevice() { return gSound.device; }

void DestroySoundSlots() {
    for (int id = kSoundSlotCount - 1; id >= 0; --id) EmptySlot(id);
    gSound.device = nullptr;
}
