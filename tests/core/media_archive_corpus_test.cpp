// Replays the archive fuzzing corpus through the same checks the fuzzer runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz/archive_lookup_check.h"
#include "tests/support/temp_files.h"

namespace {

TEST(MediaArchiveCorpusTest, EveryKeptInputResolvesSafely) {
    const char* source = std::getenv("TUMBREL_SOURCE_DIR");
    const std::filesystem::path root =
        source != nullptr ? source : std::filesystem::path(__FILE__).parent_path() / "../..";
    ScopedTempDir work, temporary;
    ScopedEnv tmpDir("TMPDIR", temporary.path());
    CreateMediaArchiveSlots(work.path());
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(root / "fuzz/corpus/archive")) {
        const std::vector<unsigned char> bytes = ReadFileBytes(entry.path().string());
        EXPECT_EQ(fuzzcheck::CheckArchiveLookup(bytes.data(), bytes.size(), work.path(), temporary.path()), "")
            << entry.path();
        ++replayed;
    }
    ReleaseMediaArchiveSlots();
    EXPECT_GT(replayed, 10u);
}

}  // namespace
