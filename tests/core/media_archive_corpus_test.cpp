// Replays the archive fuzzing corpus through the same checks the fuzzer runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "fuzz/archive_lookup_check.h"
#include "tests/support/temp_files.h"

namespace {

std::filesystem::path CorpusDirectory() {
    const char* source = std::getenv("TUMBREL_SOURCE_DIR");
    const std::filesystem::path root =
        source != nullptr ? std::filesystem::path(source) : std::filesystem::path(__FILE__).parent_path() / "../..";
    return root / "fuzz/corpus/archive";
}

TEST(MediaArchiveCorpusTest, EveryKeptInputResolvesSafely) {
    ScopedTempDir work;
    ScopedTempDir temporary;
    const char* old = std::getenv("TMPDIR");
    const std::string oldTmpDir = old != nullptr ? old : "";
    setenv("TMPDIR", temporary.path().c_str(), 1);
    CreateMediaArchiveSlots(work.path());
    size_t replayed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusDirectory())) {
        const std::vector<unsigned char> bytes = ReadFileBytes(entry.path().string());
        EXPECT_EQ(fuzzcheck::CheckArchiveLookup(bytes.data(), bytes.size(), work.path(), temporary.path()), "")
            << entry.path();
        ++replayed;
    }
    ReleaseMediaArchiveSlots();
    if (old != nullptr) setenv("TMPDIR", oldTmpDir.c_str(), 1);
    else unsetenv("TMPDIR");
    EXPECT_GT(replayed, 10u);
}

}  // namespace
