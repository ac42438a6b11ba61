// The WAV reader: the layouts it accepts, the files it refuses and the inputs kept from fuzzing.
#include "audio/wav_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "fuzz/wav_reader_check.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"
#include "wav_image.h"

namespace {

bool Read(const std::vector<uint8_t>& image, WavSamples& wav, size_t length = SIZE_MAX) {
    std::string reason;
    const bool ok = ReadWav(image.data(), std::min(length, image.size()), wav, reason);
    EXPECT_EQ(ok, reason.empty()) << reason;
    return ok;
}

WavLayout Changed(void (*change)(WavLayout&)) {
    WavLayout layout;
    change(layout);
    return layout;
}

// One "fact" chunk is skipped, and 14 bytes after any longer format; a stray byte after the last
// frame is not sample data.
TEST(WavReaderTest, ReadsMonoAndStereoIn8And16BitsAtAnyRateAndKeepsWholeFramesOnly) {
    std::vector<uint8_t> stray = Pcm16({1, 2, 3, 4});
    stray.push_back(9);
    const struct {
        WavLayout layout;
        std::vector<uint8_t> samples;
        size_t offset, byteCount;
    } cases[] = {
        {WavLayout(1, 8, 11025), std::vector<uint8_t>(64, 0x55), 44, 64},
        {WavLayout(2, 8, 8000), std::vector<uint8_t>(64, 0x55), 44, 64},
        {WavLayout(1, 16, 22050), std::vector<uint8_t>(64, 0x55), 44, 64},
        {WavLayout(2, 16, 44100), stray, 44, 8},
        {Changed([](WavLayout& l) { l.chunksBeforeData = {{"fact", {1, 2, 3, 4}}}; }), Pcm16({1, 2, 3}), 56, 6},
        {Changed([](WavLayout& l) { l.formatSize = 30; l.extraFormatBytes = 14; }), Pcm16({1, 2, 3}), 58, 6},
    };
    for (const auto& c : cases) {
        const std::vector<uint8_t> image = WavImage(c.layout, c.samples);
        WavSamples wav;
        ASSERT_TRUE(Read(image, wav));
        EXPECT_EQ(wav.format.channels, c.layout.channels);
        EXPECT_EQ(wav.format.bitsPerSample, c.layout.bitsPerSample);
        EXPECT_EQ(wav.format.sampleRate, c.layout.sampleRate);
        EXPECT_EQ(wav.byteCount, c.byteCount);
        EXPECT_EQ(wav.bytes, image.data() + c.offset);
    }
}

TEST(WavReaderTest, RefusesChunksOtherThanDataFormatsItCannotPlayAndCutFiles) {
    const std::vector<uint8_t> tone = Pcm16({1, 2, 3, 4});
    const std::vector<std::vector<uint8_t>> refused = {
        WavImage(Changed([](WavLayout& l) { l.chunksBeforeData = {{"LIST", {'I', 'N', 'F', 'O'}}}; }), tone),
        WavImage(Changed([](WavLayout& l) { l.chunksBeforeData = {{"fact", {0, 0, 0, 0}}, {"fact", {0, 0, 0, 0}}}; }), tone),
        // A format chunk of 18 bytes is still followed by a skip of 14, which lands inside "data".
        WavImage(Changed([](WavLayout& l) { l.formatSize = 18; l.extraFormatBytes = 2; }), tone),
        WavImage(WavLayout(1, 24), tone),
        WavImage(Changed([](WavLayout& l) { l.blockAlign = 3; }), tone),
        WavImage(WavLayout(1, 16, 50), tone),
        WavImage(Changed([](WavLayout& l) { l.dataSizeField = 100; }), tone),
        WavImage(WavLayout(), {}),
    };
    WavSamples wav;
    for (size_t i = 0; i < refused.size(); ++i) EXPECT_FALSE(Read(refused[i], wav)) << "case " << i;
    const std::vector<uint8_t> image = WavImage(WavLayout(), Pcm16({1, 2}));
    for (size_t cut = 0; cut < image.size(); ++cut) EXPECT_FALSE(Read(image, wav, cut)) << cut;
}

// Replays the WAV fuzzing corpus through the same checks the fuzzer runs.
TEST(WavCorpusTest, EveryKeptInputIsReadOrRefusedSafely) {
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(SourceDirectory() + "/fuzz/corpus/wav")) {
        const std::vector<unsigned char> bytes = ReadFileBytes(entry.path().string());
        EXPECT_EQ(fuzzcheck::CheckWavRead(bytes.data(), bytes.size()), "") << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 10u);
}

}  // namespace
