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
