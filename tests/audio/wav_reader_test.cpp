// The WAV reader: the layouts it accepts and the files it refuses.
#include "audio/wav_reader.h"

#include <gtest/gtest.h>

#include "wav_image.h"

namespace {

bool Read(const std::vector<uint8_t>& image, WavSamples& wav, std::string& reason) {
    return ReadWav(image.data(), image.size(), wav, reason);
}

TEST(WavReaderTest, ReadsMonoAndStereoIn8And16Bits) {
    struct Case {
        int channels, bits, rate;
    };
    for (const Case c : {Case{1, 8, 11025}, Case{2, 8, 8000}, Case{1, 16, 22050}, Case{2, 16, 44100}}) {
        WavImageSpec spec;
        spec.channels = c.channels;
        spec.bitsPerSample = c.bits;
        spec.sampleRate = c.rate;
        const std::vector<uint8_t> samples(64, 0x55);
        const std::vector<uint8_t> image = WavImage(spec, samples);
        WavSamples wav;
        std::string reason;
        ASSERT_TRUE(Read(image, wav, reason)) << reason;
        EXPECT_EQ(wav.format.channels, c.channels);
        EXPECT_EQ(wav.format.bitsPerSample, c.bits);
        EXPECT_EQ(wav.format.sampleRate, c.rate);
        EXPECT_EQ(wav.byteCount, 64u);
        EXPECT_EQ(wav.bytes, image.data() + 44);
    }
}

TEST(WavReaderTest, SkipsOneFactChunkAndFourteenBytesAfterALongerFormat) {
    WavImageSpec fact;
    fact.chunksBeforeData = {{"fact", {1, 2, 3, 4}}};
    WavImageSpec longFormat;
    longFormat.formatSize = 30;
    longFormat.extraFormatBytes = 14;
    for (const WavImageSpec& spec : {fact, longFormat}) {
        WavSamples wav;
        std::string reason;
        EXPECT_TRUE(Read(WavImage(spec, Pcm16({1, 2, 3})), wav, reason)) << reason;
        EXPECT_EQ(wav.byteCount, 6u);
    }
    // A format chunk of 18 bytes is still followed by a skip of 14, which lands inside "data".
    WavImageSpec extended;
    extended.formatSize = 18;
    extended.extraFormatBytes = 2;
    WavSamples wav;
    std::string reason;
    EXPECT_FALSE(Read(WavImage(extended, Pcm16({1, 2, 3})), wav, reason));
}

TEST(WavReaderTest, RefusesChunksOtherThanDataAndFormatsItCannotPlay) {
    WavImageSpec list;
    list.chunksBeforeData = {{"LIST", {'I', 'N', 'F', 'O'}}};
    WavImageSpec twoFacts;
    twoFacts.chunksBeforeData = {{"fact", {0, 0, 0, 0}}, {"fact", {0, 0, 0, 0}}};
    WavImageSpec bits24;
    bits24.bitsPerSample = 24;
    WavImageSpec badAlign;
    badAlign.blockAlign = 3;
    WavImageSpec slowRate;
    slowRate.sampleRate = 50;
    WavImageSpec longData;
    longData.dataSizeField = 100;
    WavImageSpec emptyData;
    for (const WavImageSpec& spec : {list, twoFacts, bits24, badAlign, slowRate, longData}) {
        WavSamples wav;
        std::string reason;
        EXPECT_FALSE(Read(WavImage(spec, Pcm16({1, 2, 3, 4})), wav, reason));
        EXPECT_FALSE(reason.empty());
    }
    WavSamples wav;
    std::string reason;
    EXPECT_FALSE(Read(WavImage(emptyData, {}), wav, reason));
    const std::vector<uint8_t> image = WavImage(WavImageSpec{}, Pcm16({1, 2}));
    for (size_t cut = 0; cut < image.size(); ++cut) {
        EXPECT_FALSE(ReadWav(image.data(), cut, wav, reason)) << cut;
    }
}

TEST(WavReaderTest, KeepsWholeFramesOnly) {
    WavImageSpec stereo;
    stereo.channels = 2;
    std::vector<uint8_t> samples = Pcm16({1, 2, 3, 4});
    samples.push_back(9);  // a stray byte after the last frame
    WavSamples wav;
    std::string reason;
    ASSERT_TRUE(Read(WavImage(stereo, samples), wav, reason)) << reason;
    EXPECT_EQ(wav.byteCount, 8u);
}

}  // namespace
