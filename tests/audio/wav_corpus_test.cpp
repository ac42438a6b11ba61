// Replays the WAV fuzzing corpus through the same checks the fuzzer runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz/wav_reader_check.h"
#include "tests/support/temp_files.h"

namespace {

std::filesystem::path CorpusDirectory() {
    const char* source = std::getenv("TUMBREL_SOURCE_DIR");
    const std::filesystem::path root =
        source != nullptr ? std::filesystem::path(source) : std::filesystem::path(__FILE__).parent_path() / "../..";
    return root / "fuzz/corpus/wav";
}

TEST(WavCorpusTest, EveryKeptInputIsReadOrRefusedSafely) {
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDirectory())) {
        const std::vector<unsigned char> bytes = ReadFileBytes(entry.path().string());
        EXPECT_EQ(fuzzcheck::CheckWavRead(bytes.data(), bytes.size()), "") << entry.path();
        ++replayed;
    }
    EXPECT_GT(replayed, 10u);
}

}  // namespace
