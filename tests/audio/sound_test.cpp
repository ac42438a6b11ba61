// Sound slots on the recording device: loading, voice choice, the play parameter mapping and
// channel numbers.
#include "audio/sound.h"

#include <gtest/gtest.h>

#include <cmath>

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
        const std::vector<uint8_t> image =
            WavImage(layout, std::vector<uint8_t>(frames * layout.channels * layout.bitsPerSample / 8, 0x40));
        WriteFileBytes(dir_.File(name), image);
        return dir_.File(name);
    }

    ScopedTempDir dir_;
    RecordingSoundDevice device_;
};

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
    for (int voice : {0, 1, 0}) EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + voice);
    EXPECT_EQ(SoundIsPlaying(4 * 256 + 1), 1);
    // A finished current voice is taken again without moving on.
    device_.FinishVoice(4 * 256 + 0);
    EXPECT_EQ(PlaySound(4, 0, 1), 4 * 256 + 0);
}

TEST_F(SoundTest, VoiceCountIsTruncatedAndClampedToOneToFour) {
    struct Case {
        int id;
        double voiceCount;
        std::vector<int> voices;  // of successive plays, -1: no channel
    };
    for (const Case& c : {Case{1, 9, {0, 1, 2, 3, 0}}, Case{2, 0.9, {0, -1}}, Case{3, 2.9, {0, 1, 0}}}) {
        ASSERT_EQ(LoadSound(Sound().c_str(), c.id, c.voiceCount), 1);
        for (int voice : c.voices) EXPECT_EQ(PlaySound(c.id, 0, 1), voice < 0 ? -1 : c.id * 256 + voice) << c.voiceCount;
    }
}

TEST_F(SoundTest, StopAllSoundsAndReloadingStopEveryVoice) {
    ASSERT_EQ(LoadSound(Sound().c_str(), 5, 2), 1);
    ASSERT_EQ(LoadSound(Sound().c_str(), 6, 1), 1);
    for (int id : {5, 5, 6}) PlaySound(id, 0, 1);
    StopAllSounds();
    for (int channel : {5 * 256, 5 * 256 + 1, 6 * 256}) EXPECT_EQ(SoundIsPlaying(channel), 0) << channel;
    PlaySound(6, 0, 1);
    ASSERT_EQ(LoadSound(Sound("Klic.wav").c_str(), 6, 1), 1);
    EXPECT_EQ(SoundIsPlaying(6 * 256), 0);
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
    const Case cases[] = {{0, 0.5, 0, -5000, 0.00316f, 0.00316f}, {0, 2, 0, 0, 1, 1},
                          {-3, 1, -10000, 0, 1, 0}, {0.25, 0, 2500, -10000, 0, 0}};
    for (const Case& c : cases) {
        PlaySound(10, c.pan, c.volume);
        const RecordingSoundDevice::Play& play = device_.plays.back();
        EXPECT_EQ(play.panHundredthsDb, c.panDb) << c.pan;
        EXPECT_EQ(play.volumeHundredthsDb, c.volumeDb) << c.volume;
        EXPECT_NEAR(play.leftGain, c.left, 1e-4) << c.pan << " " << c.volume;
        EXPECT_NEAR(play.rightGain, c.right, 1e-4) << c.pan << " " << c.volume;
    }
    EXPECT_EQ(VolumeToHundredthsDb(0.999), -100);  // truncated, as the device units demand
    EXPECT_EQ(PanToHundredthsDb(-0.12345), -1234);
    float left = 0, right = 0;
    GainsFromHundredthsDb(0, 600, left, right);  // pan right by 6 dB halves the left side
    EXPECT_NEAR(left, 0.501f, 1e-3);
    EXPECT_FLOAT_EQ(right, 1.0f);
}

TEST_F(SoundTest, MonoEightBitFileIsConvertedFromItsOwnFormat) {
    ASSERT_EQ(LoadSound(Sound("Klic.wav", WavLayout(1, 8, 11025), 300).c_str(), 26, 1), 1);
    ASSERT_EQ(device_.conversions.size(), 1u);
    const RecordingSoundDevice::Conversion& conversion = device_.conversions[0];
    EXPECT_EQ(conversion.from.channels, 1);
    EXPECT_EQ(conversion.from.bitsPerSample, 8);
    EXPECT_EQ(conversion.from.sampleRate, 11025);
    EXPECT_EQ(conversion.byteCount, 300u);
    PlaySound(26, 0, 1);
    ASSERT_TRUE(device_.SamplesOf(26 * 256) != nullptr);
    EXPECT_EQ(device_.SamplesOf(26 * 256)->frameCount(), 300u);
}

TEST_F(SoundTest, FailedLoadsEmptyTheSlotAndPlaysGiveNoChannel) {
    WavLayout list;
    list.chunksBeforeData = {{"LIST", {'I', 'N', 'F', 'O'}}};
    ASSERT_EQ(LoadSound(Sound().c_str(), 11, 2), 1);
    EXPECT_EQ(LoadSound(Sound("List.wav", list).c_str(), 11, 2), 0);
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
