// Sound slots on the recording device: loading, voice choice, the play parameter mapping and
// channel numbers; and the mixer: sums of voices with their gains, clipping, voices that end.
#include "audio/sound.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/mixer.h"
#include "core/media_archive.h"
#include "tests/support/recording_sound_device.h"
#include "tests/support/temp_files.h"
#include "wav_image.h"

namespace {

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateMediaArchiveSlots(dir_.path());
        SetMediaArchive("", "");
        CreateSoundSlots();
        SetSoundDevice(&device_);
    }
    void TearDown() override {
        DestroySoundSlots();
        ReleaseMediaArchiveSlots();
    }
    std::string Sound(const std::string& name = "Move.wav", const WavLayout& layout = WavLayout(), size_t frames = 100) {
        WriteFileBytes(dir_.File(name), WavImage(layout, std::vector<uint8_t>(frames * layout.channels * layout.bitsPerSample / 8, 64)));
        return dir_.File(name);
    }

    ScopedTempDir dir_;
    RecordingSoundDevice device_;
};

constexpr int kFinish = 100;  // kFinish + v: voice v reaches its end (instead of a play)

TEST_F(SoundTest, VoicesAreTakenInTurnAndAOneVoiceSoundIsNotCutOff) {
    struct Case {
        double voiceCount;
        std::vector<int> steps;  // the voice each play gets, -1: no channel
    };
    const Case cases[] = {{1, {0, -1, kFinish + 0, 0}}, {2, {0, 1, 0, kFinish + 0, 0}}, {9, {0, 1, 2, 3, 0}},
                          {0.9, {0, -1}}, {2.9, {0, 1, 0}}};
    int id = 0;
    for (const Case& c : cases) {
        ASSERT_EQ(LoadSound(Sound().c_str(), ++id, c.voiceCount), 1);
        for (int step : c.steps) {
            if (step >= kFinish) {
                device_.playing[id * 256 + step - kFinish] = false;
                continue;
            }
            const double channel = PlaySound(id, 0, 1);
            EXPECT_EQ(channel, step < 0 ? -1 : id * 256 + step) << c.voiceCount << " voices";
            EXPECT_EQ(step < 0 || SoundIsPlaying(channel) == 1, true);
        }
    }
}

TEST_F(SoundTest, IdsAbove127PlaySlot127AndChannelsOutsideTheRangeAreNotPlaying) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 127, 2), 1);
    EXPECT_EQ(PlaySound(200, 0, 1), 127 * 256);
    EXPECT_EQ(PlaySound(127.9, 0, 1), 127 * 256 + 1);
    for (double id : {-3.0, std::nan(""), 17.0 /* an empty slot */}) EXPECT_EQ(PlaySound(id, 0, 1), -1) << id;
    EXPECT_EQ(LoadSound(Sound().c_str(), -1, 1), 0);
    EXPECT_EQ(SoundIsPlaying(127 * 256 + 0.7), 1);
    for (double channel : {-1.0, 127 * 256 + 2.0, 1e12, std::nan("")}) EXPECT_EQ(SoundIsPlaying(channel), 0) << channel;
}

TEST_F(SoundTest, VolumeAndPanMapToHundredthsOfADecibelThenToGains) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 10, 4), 1);
    struct Case {
        double pan, volume;
        int panDb, volumeDb;
        float left, right;
    };
    const Case cases[] = {{0, 0.5, 0, -5000, 0.0031623f, 0.0031623f}, {0, 2, 0, 0, 1, 1}, {-3, 1, -10000, 0, 1, 0},
                          {0.25, 0, 2500, -10000, 0, 0}, {0.06, 1, 600, 0, 0.501187f, 1},
                          {-0.12345, 0.999, -1234, -100, 0.891251f, 0.215278f}};
    for (const Case& c : cases) {
        PlaySound(10, c.pan, c.volume);
        const RecordingSoundDevice::Play& play = device_.plays.back();
        EXPECT_EQ(play.panHundredthsDb, c.panDb) << c.pan;
        EXPECT_EQ(play.volumeHundredthsDb, c.volumeDb) << c.volume;
        // Silence is exactly 0: a relative tolerance.
        EXPECT_NEAR(play.leftGain, c.left, c.left * 1e-4) << c.pan << " " << c.volume;
        EXPECT_NEAR(play.rightGain, c.right, c.right * 1e-4) << c.pan << " " << c.volume;
    }
}

TEST_F(SoundTest, AFileIsConvertedOnceFromItsOwnFormatAndFailedLoadsAndAMissingDeviceEmptyTheSlot) {
    ASSERT_EQ(LoadSound(Sound("Klic.wav", WavLayout(1, 8, 11025), 300).c_str(), 11, 2), 1);
    ASSERT_EQ(device_.conversions.size(), 1u);
    const RecordingSoundDevice::Conversion& conversion = device_.conversions[0];
    EXPECT_EQ((std::vector<int>{conversion.from.channels, conversion.from.bitsPerSample, conversion.from.sampleRate,
                                int(conversion.byteCount)}),
              (std::vector<int>{1, 8, 11025, 300}));
    PlaySound(11, 0, 1);
    ASSERT_NE(device_.plays.back().samples, nullptr);
    EXPECT_EQ(device_.plays.back().samples->frameCount(), 300u);
    WavLayout list;
    list.chunksBeforeData = {{"LIST", {'I', 'N', 'F', 'O'}}};
    EXPECT_EQ(LoadSound(Sound("List.wav", list).c_str(), 11, 2), 0);
    EXPECT_EQ(LoadSound(dir_.File("Missing.wav").c_str(), 12, 2), 0);
    EXPECT_EQ(LoadSound("", 12, 2), 0);
    device_.refuseConversions = true;
    EXPECT_EQ(LoadSound(Sound().c_str(), 13, 2), 0);
    for (int id : {11, 12, 13}) EXPECT_EQ(PlaySound(id, 0, 1), -1) << id;
    EXPECT_EQ(device_.plays.size(), 1u);

    device_.refuseConversions = false;
    ASSERT_EQ(LoadSound(Sound().c_str(), 1, 2), 1);
    SetSoundDevice(nullptr);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);  // samples belong to the device they were made for
    EXPECT_EQ(LoadSound(Sound().c_str(), 2, 2), 0);
    EXPECT_EQ(PlaySound(2, 0, 1), -1);
    EXPECT_EQ(SoundIsPlaying(256), 0);
    StopAllSounds();
}

MixingVoice Voice(const std::vector<int16_t>& samples, int channels, float left, float right) {
    MixingVoice voice;
    voice.samples = samples.data();
    voice.frameCount = samples.size() / channels;
    voice.leftGain = left;
    voice.rightGain = right;
    return voice;
}

std::vector<int16_t> Mix(MixingVoice* voices, int count, int outChannels, int frames, float outputGain = 1) {
    std::vector<int16_t> out(frames * outChannels, 7);
    MixVoices(voices, count, outChannels, out.data(), frames, outputGain);
    return out;
}

TEST(MixerTest, SumsVoicesWithTheirGainsPerChannelScalesByTheVolumeAndClipsToSixteenBits) {
    const std::vector<int16_t> a = {1000, 1000, -2000, 400}, b = {300, -300, 300, -300}, loud = {30000, -30000};
    MixingVoice voices[] = {Voice(a, 2, 0.5f, 1.0f), Voice(b, 2, 1.0f, 0.0f)};
    EXPECT_EQ(Mix(voices, 2, 2, 2), (std::vector<int16_t>{800, 1000, -700, 400}));
    EXPECT_TRUE(voices[0].finished());
    MixingVoice loudVoices[] = {Voice(loud, 2, 1, 1), Voice(loud, 2, 1, 1)};
    EXPECT_EQ(Mix(loudVoices, 2, 2, 1), (std::vector<int16_t>{32767, -32768}));
    for (MixingVoice& voice : loudVoices) voice.position = 0;
    EXPECT_EQ(Mix(loudVoices, 2, 2, 1, 0.5f), (std::vector<int16_t>{30000, -30000})) << "the volume scales before clipping";
}

TEST(MixerTest, VoiceEndingInsideTheBlockIsFollowedBySilenceAndOthersGoOn) {
    const std::vector<int16_t> shortSound = {100, 100}, longSound = {1, 1, 2, 2, 3, 3};
    MixingVoice voices[] = {Voice(shortSound, 2, 1, 1), Voice(longSound, 2, 1, 1)};
    voices[1].position = 1;
    EXPECT_EQ(Mix(voices, 2, 2, 3), (std::vector<int16_t>{102, 102, 3, 3, 0, 0}));
    EXPECT_TRUE(voices[0].finished());
    EXPECT_TRUE(voices[1].finished());
    EXPECT_EQ(Mix(voices, 2, 2, 1), (std::vector<int16_t>{0, 0}));
}

TEST(MixerTest, MonoOutputTakesTheMeanGainAndNoVoiceIsSilence) {
    const std::vector<int16_t> mono = {1000, -1000};
    MixingVoice voice = Voice(mono, 1, 1.0f, 0.5f);
    EXPECT_EQ(Mix(&voice, 1, 1, 2), (std::vector<int16_t>{750, -750}));
    EXPECT_EQ(Mix(nullptr, 0, 2, 1), (std::vector<int16_t>{0, 0}));
}

}  // namespace
