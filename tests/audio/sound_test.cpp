// Sound slots on the recording device: loading, voice choice, the play parameter mapping and
// channel numbers.
#include "audio/sound.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/media_archive.h"
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
    std::string WriteWav(const std::string& name, const WavImageSpec& spec, size_t frames = 100) {
        const std::vector<uint8_t> samples(frames * spec.channels * spec.bitsPerSample / 8, 0x40);
        const std::vector<uint8_t> image = WavImage(spec, samples);
        WriteFileBytes(dir_.File(name), std::vector<unsigned char>(image.begin(), image.end()));
        return dir_.File(name);
    }
    std::string Sound(const std::string& name = "Move.wav") { return WriteWav(name, WavImageSpec{}); }

    ScopedTempDir dir_;
    RecordingSoundDevice device_;
};

// ---------------------------------------------------------------------------------------------
// Voices

TEST_F(SoundTest, OneVoiceSoundPlayedAgainWhilePlayingGivesNoChannelAndKeepsPlaying) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 25, 1), 1);
    EXPECT_EQ(PlaySound(25, 0, 1), 25 * 256);
    EXPECT_EQ(PlaySound(25, 0, 1), -1);
    EXPECT_EQ(device_.plays.size(), 1u);
    EXPECT_EQ(SoundIsPlaying(25 * 256), 1);

    device_.FinishAll();
    EXPECT_EQ(SoundIsPlaying(25 * 256), 0);
    EXPECT_EQ(PlaySound(25, 0, 1), 25 * 256);
}

TEST_F(SoundTest, TwoVoiceSoundPlayedThreeTimesRestartsTheFirstVoice) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 4, 2), 1);
    EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + 0);
    EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + 1);
    EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + 0);
    ASSERT_EQ(device_.plays.size(), 3u);
    EXPECT_EQ(device_.plays[2].voice, 0);
    EXPECT_EQ(SoundIsPlaying(4 * 256 + 1), 1);

    // A finished current voice is taken again without moving on.
    device_.FinishVoice(4 * 256 + 0);
    EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + 0);
}

TEST_F(SoundTest, VoiceCountIsTruncatedAndClampedToOneToFour) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 1, 9), 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(PlaySound(1, 0, 1), 256 + i);
    EXPECT_EQ(PlaySound(1, 0, 1), 256 + 0);
    ASSERT_EQ(LoadSound(Sound().c_str(), 2, 0.9), 1);
    EXPECT_EQ(PlaySound(2, 0, 1), 512);
    EXPECT_EQ(PlaySound(2, 0, 1), -1);
    ASSERT_EQ(LoadSound(Sound().c_str(), 3, 2.9), 1);
    EXPECT_EQ(PlaySound(3, 0, 1), 768);
    EXPECT_EQ(PlaySound(3, 0, 1), 769);
    EXPECT_EQ(SoundIsPlaying(770), 0);  // no third voice
}

TEST_F(SoundTest, StopAllSoundsAndReloadingStopEveryVoice) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 5, 2), 1);
    ASSERT_EQ(LoadSound(Sound().c_str(), 6, 1), 1);
    PlaySound(5, 0, 1);
    PlaySound(5, 0, 1);
    PlaySound(6, 0, 1);
    StopAllSounds();
    EXPECT_EQ(SoundIsPlaying(5 * 256), 0);
    EXPECT_EQ(SoundIsPlaying(5 * 256 + 1), 0);
    EXPECT_EQ(SoundIsPlaying(6 * 256), 0);

    PlaySound(6, 0, 1);
    ASSERT_EQ(LoadSound(Sound("Klic.wav").c_str(), 6, 1), 1);
    EXPECT_EQ(SoundIsPlaying(6 * 256), 0);
}

// ---------------------------------------------------------------------------------------------
// Ids, channels and the parameter mapping

TEST_F(SoundTest, IdAbove127PlaysSlot127AndNegativeIdsReachNothing) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 127, 2), 1);
    EXPECT_EQ(PlaySound(200, 0, 1), 127 * 256);
    EXPECT_EQ(PlaySound(127.9, 0, 1), 127 * 256 + 1);
    EXPECT_EQ(PlaySound(-3, 0, 1), -1);
    EXPECT_EQ(LoadSound(Sound().c_str(), -1, 1), 0);
    EXPECT_EQ(PlaySound(std::nan(""), 0, 1), -1);
    EXPECT_EQ(PlaySound(17, 0, 1), -1);  // an empty slot
}

TEST_F(SoundTest, SoundIsPlayingChecksTheChannelRange) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 9, 2), 1);
    PlaySound(9, 0, 1);
    EXPECT_EQ(SoundIsPlaying(9 * 256 + 0.7), 1);
    EXPECT_EQ(SoundIsPlaying(-1), 0);
    EXPECT_EQ(SoundIsPlaying(9 * 256 + 2), 0);
    EXPECT_EQ(SoundIsPlaying(1e12), 0);
    EXPECT_EQ(SoundIsPlaying(std::nan("")), 0);
}

TEST_F(SoundTest, VolumeAndPanMapToHundredthsOfADecibel) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 10, 4), 1);
    PlaySound(10, 0, 0.5);
    PlaySound(10, 0, 2);
    PlaySound(10, -3, 1);
    PlaySound(10, 0.25, 0);
    ASSERT_EQ(device_.plays.size(), 4u);
    EXPECT_EQ(device_.plays[0].volumeHundredthsDb, -5000);
    EXPECT_EQ(device_.plays[1].volumeHundredthsDb, 0);
    EXPECT_EQ(device_.plays[2].panHundredthsDb, -10000);
    EXPECT_FLOAT_EQ(device_.plays[2].leftGain, 1.0f);
    EXPECT_FLOAT_EQ(device_.plays[2].rightGain, 0.0f);
    EXPECT_EQ(device_.plays[3].panHundredthsDb, 2500);
    EXPECT_EQ(device_.plays[3].volumeHundredthsDb, -10000);
    EXPECT_FLOAT_EQ(device_.plays[3].leftGain, 0.0f);
}

TEST(SoundMappingTest, TruncatesLikeTheDeviceUnitsDemand) {
    EXPECT_EQ(VolumeToHundredthsDb(0.999), -100);
    EXPECT_EQ(VolumeToHundredthsDb(-1), -10000);
    EXPECT_EQ(PanToHundredthsDb(0.12345), 1234);
    EXPECT_EQ(PanToHundredthsDb(-0.12345), -1234);
    float left = 0, right = 0;
    GainsFromHundredthsDb(-2000, 0, left, right);  // -20 dB is a tenth of the amplitude
    EXPECT_NEAR(left, 0.1f, 1e-6);
    EXPECT_NEAR(right, 0.1f, 1e-6);
    GainsFromHundredthsDb(0, 600, left, right);  // pan right by 6 dB halves the left side
    EXPECT_NEAR(left, 0.501f, 1e-3);
    EXPECT_FLOAT_EQ(right, 1.0f);
}

// ---------------------------------------------------------------------------------------------
// Loading

TEST_F(SoundTest, MonoEightBitFileIsConvertedFromItsOwnFormat) {
    WavImageSpec spec;
    spec.bitsPerSample = 8;
    spec.sampleRate = 11025;
    ASSERT_EQ(LoadSound(WriteWav("Klic.wav", spec, 300).c_str(), 26, 1), 1);
    ASSERT_EQ(device_.conversions.size(), 1u);
    EXPECT_EQ(device_.conversions[0].from.channels, 1);
    EXPECT_EQ(device_.conversions[0].from.bitsPerSample, 8);
    EXPECT_EQ(device_.conversions[0].from.sampleRate, 11025);
    EXPECT_EQ(device_.conversions[0].byteCount, 300u);
    PlaySound(26, 0, 1);
    const auto samples = device_.SamplesOf(26 * 256);
    ASSERT_TRUE(samples != nullptr);
    EXPECT_EQ(samples->frameCount(), 300u);
}

TEST_F(SoundTest, FailedLoadsEmptyTheSlotAndPlaysGiveNoChannel) {
    WavImageSpec list;
    list.chunksBeforeData = {{"LIST", {'I', 'N', 'F', 'O'}}};
    ASSERT_EQ(LoadSound(Sound().c_str(), 11, 2), 1);
    EXPECT_EQ(LoadSound(WriteWav("List.wav", list).c_str(), 11, 2), 0);
    EXPECT_EQ(PlaySound(11, 0, 1), -1);
    EXPECT_EQ(LoadSound(dir_.File("Missing.wav").c_str(), 12, 2), 0);
    EXPECT_EQ(LoadSound("", 12, 2), 0);
    device_.refuseConversions = true;
    EXPECT_EQ(LoadSound(Sound().c_str(), 13, 2), 0);
    EXPECT_EQ(PlaySound(13, 0, 1), -1);
    EXPECT_TRUE(device_.plays.empty());
}

TEST_F(SoundTest, WithoutADeviceLoadsFailAndPlaysGiveNoChannel) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 1, 2), 1);
    SetSoundDevice(nullptr);
    EXPECT_EQ(PlaySound(1, 0, 1), -1);  // samples belong to the device they were made for
    EXPECT_EQ(LoadSound(Sound().c_str(), 2, 2), 0);
    EXPECT_EQ(PlaySound(2, 0, 1), -1);
    EXPECT_EQ(SoundIsPlaying(512), 0);
    StopAllSounds();
}

TEST_F(SoundTest, RuntimeStringNamesLoadAndPlaysAreRecordedWithTheirFrame) {
    RtStr name(Sound("Bell.wav").c_str());
    EXPECT_EQ(LoadSound(name.raw(), 14, 2), 1);
    device_.frame = 42;
    PlaySound(14, 0, 1);
    EXPECT_EQ(device_.SoundIdsPlayedOn(42), std::vector<int>{14});
}

}  // namespace
