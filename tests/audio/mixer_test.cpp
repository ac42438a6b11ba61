// The mixer: sums of voices with their gains, clipping, and voices that end inside a block.
#include "audio/mixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

MixingVoice Voice(const std::vector<int16_t>& samples, int channels, float left, float right) {
    MixingVoice voice;
    voice.samples = samples.data();
    voice.frameCount = samples.size() / channels;
    voice.leftGain = left;
    voice.rightGain = right;
    return voice;
}

TEST(MixerTest, SumsVoicesWithTheirGainsPerChannel) {
    const std::vector<int16_t> a = {1000, 1000, -2000, 400};
    const std::vector<int16_t> b = {300, -300, 300, -300};
    MixingVoice voices[] = {Voice(a, 2, 0.5f, 1.0f), Voice(b, 2, 1.0f, 0.0f)};
    int16_t out[4];
    MixVoices(voices, 2, 2, out, 2);
    EXPECT_EQ(out[0], 500 + 300);
    EXPECT_EQ(out[1], 1000);
    EXPECT_EQ(out[2], -1000 + 300);
    EXPECT_EQ(out[3], 400);
    EXPECT_TRUE(voices[0].finished());
}

TEST(MixerTest, ClipsSumsToSixteenBits) {
    const std::vector<int16_t> loud = {30000, -30000};
    MixingVoice voices[] = {Voice(loud, 2, 1.0f, 1.0f), Voice(loud, 2, 1.0f, 1.0f)};
    int16_t out[2];
    MixVoices(voices, 2, 2, out, 1);
    EXPECT_EQ(out[0], 32767);
    EXPECT_EQ(out[1], -32768);
}

TEST(MixerTest, VoiceEndingInsideTheBlockIsFollowedBySilenceAndOthersGoOn) {
    const std::vector<int16_t> shortSound = {100, 100};
    const std::vector<int16_t> longSound = {1, 1, 2, 2, 3, 3};
    MixingVoice voices[] = {Voice(shortSound, 2, 1, 1), Voice(longSound, 2, 1, 1)};
    voices[1].position = 1;
    int16_t out[6];
    MixVoices(voices, 2, 2, out, 3);
    EXPECT_EQ(std::vector<int16_t>(out, out + 6), (std::vector<int16_t>{102, 102, 3, 3, 0, 0}));
    EXPECT_TRUE(voices[0].finished());
    EXPECT_TRUE(voices[1].finished());

    MixVoices(voices, 2, 2, out, 1);
    EXPECT_EQ(out[0], 0);
}

TEST(MixerTest, MonoOutputTakesTheMeanGainAndNoVoiceIsSilence) {
    const std::vector<int16_t> mono = {1000, -1000};
    MixingVoice voice = Voice(mono, 1, 1.0f, 0.5f);
    int16_t out[2] = {7, 7};
    MixVoices(&voice, 1, 1, out, 2);
    EXPECT_EQ(out[0], 750);
    EXPECT_EQ(out[1], -750);
    MixVoices(nullptr, 0, 2, out, 1);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 0);
}

}  // namespace
