// Media lookup through the archive slots: disk first, then "sbX" archives built by the sbx tool's
// own writer, with the temporary files they leave, the damaged archives they must refuse and the
// inputs kept from fuzzing.
#include "core/media_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/media_archive_format.h"
#include "fuzz/archive_lookup_check.h"
#include "sbx_writer.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"

namespace {

using Image = std::vector<uint8_t>;
namespace fs = std::filesystem;

Image Bytes(const std::string& text) { return Image(text.begin(), text.end()); }

// Noise that LZO1X cannot shrink, the same for every run.
Image Noise(size_t count, uint32_t seed = 12345) {
    Image bytes(count);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    return bytes;
}

void PutI32(Image& image, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t U32At(const Image& image, size_t at) {
    return image[at] | image[at + 1] << 8 | image[at + 2] << 16 | uint32_t(image[at + 3]) << 24;
}

// Position of the first directory entry's data offset, followed by its stored size.
size_t FirstOffsetField(const Image& archive) {
    size_t at = U32At(archive, archive.size() - 4);
    return at + 1 + archive[at];
}

Image Archive(const std::vector<SbxInput>& inputs, SbxLayout layout = {}) {
    Image image;
    std::string error;
    EXPECT_TRUE(BuildSbxArchive(inputs, layout, image, error)) << error;
    return image;
}

class MediaArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        mkdir(work_.File("Media").c_str(), 0700);
        CreateMediaArchiveSlots(work_.path());
        SetMediaArchive(archive_, "");
    }
    void TearDown() override { ReleaseMediaArchiveSlots(); }

    void Write(const Image& image) { WriteFileBytes(archive_, image); }
    std::string Media(const std::string& name) const { return work_.File("Media/" + name); }
    // The unpacked bytes of `name` from the media slot; "" when the lookup fails.
    std::string Resolved(const std::string& name) {
        std::string path = "stale";
        if (ResolveMediaFile(MediaSlotMedia, name, path)) return ReadFileText(path);
        EXPECT_EQ(path, "");
        return "";
    }
    // Extracted files wherever they lie under $TMPDIR; an empty folder left behind counts too.
    size_t TemporaryFiles() const {
        size_t count = 0;
        for (const auto& entry : fs::recursive_directory_iterator(temp_.path()))
            count += entry.is_regular_file() || fs::is_empty(entry.path());
        return count;
    }
    // The extracted file's name, after checking that it is a private file in a private folder of $TMPDIR.
    std::string ExtractedName(const std::string& path) const {
        const fs::path folder = fs::path(path).parent_path();
        EXPECT_EQ(folder.parent_path(), fs::path(temp_.path()));
        struct stat info {};
        EXPECT_EQ(stat(folder.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISREG(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        return fs::path(path).filename();
    }

    ScopedTempDir work_, temp_;
    ScopedEnv tmpDir_{"TMPDIR", temp_.path()};
    std::string archive_ = work_.File("Media.sbx");
};

TEST_F(MediaArchiveTest, FileOnDiskWinsAndTheArchiveIsNotOpened) {
    WriteFileText(Media("Sprites.png"), "loose");
    Write(Bytes("not an archive at all"));
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), path));
    EXPECT_EQ(path, Media("Sprites.png"));
    // Had the lookup opened the archive, its bad trailer would have disabled the slot.
    Write(Archive({{"Other.png", Bytes("packed")}}));
    EXPECT_EQ(Resolved(Media("Other.png")), "packed");
}

TEST_F(MediaArchiveTest, NamesMatchInAnyCaseButNotWithAnExtraLeadingCharacter) {
    Write(Archive({{"xSprites.png", {}}, {"MEDIA/ASTROR.PNG", Bytes("astro")}, {"sprites.PNG", Bytes("tiles")}}));
    EXPECT_EQ(Resolved("Media/Sprites.png"), "tiles");
    EXPECT_EQ(Resolved("Media\\AstroR.png"), "astro");
    for (const char* name : {"Sprites", "", "Nothing.png"}) EXPECT_EQ(Resolved(name), "") << name;
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(7, Media("Sprites.png"), path)) << "no such slot";
    EXPECT_EQ(Resolved("Media/Sprites.png"), "tiles") << "a failed lookup leaves the slot enabled";
    EXPECT_FALSE(SbxNameMatches("ell.wav", "Media/Bell.wav")) << "shorter than the base name";
    EXPECT_FALSE(SbxNameMatches("Media/Bell.wav", "Bell.wav")) << "longer than the request";
}

TEST_F(MediaArchiveTest, OffsetsFromTheEndResolveTheSameEntries) {
    const std::vector<SbxInput> inputs = {{"A.wav", Noise(3000, 1)}, {"B.png", Bytes("bee")}, {"C.png", {}}};
    for (SbxOffsets offsets : {SbxOffsets::FromStart, SbxOffsets::FromEnd}) {
        Write(Archive(inputs, {offsets, 17}));
        for (const SbxInput& input : inputs) EXPECT_EQ(Bytes(Resolved(Media(input.storedName))), input.bytes);
    }
}

TEST_F(MediaArchiveTest, AMissingOrBadArchiveDisablesTheSlotUntilItIsSelectedAgain) {
    const Image good = Archive({{"Bell.wav", Bytes("ding")}});
    Image bad = good;
    bad[bad.size() - 5] = 'x';  // "sbx" instead of "sbX"
    for (bool missing : {true, false}) {
        unlink(archive_.c_str());
        if (!missing) Write(bad);
        SetMediaArchive(archive_, "");
        EXPECT_EQ(Resolved(Media("Bell.wav")), "");
        Write(good);
        EXPECT_EQ(Resolved(Media("Bell.wav")), "");
    }
    WriteFileText(Media("Bell.wav"), "on disk");
    EXPECT_EQ(Resolved(Media("Bell.wav")), "on disk") << "files on disk are still found";
    unlink(Media("Bell.wav").c_str());
    SetMediaArchive("", archive_);
    EXPECT_EQ(Resolved(Media("Bell.wav")), "") << "an empty archive name disables the slot";
    SetMediaArchive(archive_, "");
    EXPECT_EQ(Resolved(Media("Bell.wav")), "ding");
}

// The name takes two letters from the entry's offset and stored size (here 30 and 1000).
TEST_F(MediaArchiveTest, EachSlotKeepsOnlyItsLastTemporaryFileNamedFromOffsetAndSize) {
    size_t n = 900;
    while (n < 1000 && PackEntryBlock(Noise(n)).size() != 1000) ++n;
    Write(Archive({{"Sprites.png", Noise(n)}, {"Two.png", Bytes("2")}}, {SbxOffsets::FromStart, 30}));
    std::string first, second;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), first));
    EXPECT_EQ(ExtractedName(first), "sbxEYSprites.png");
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Two.png"), second));
    EXPECT_FALSE(FileExists(first));
    EXPECT_EQ(TemporaryFiles(), 1u);
    SetMediaArchive(archive_, "");
    EXPECT_EQ(TemporaryFiles(), 0u);
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Two.png"), first));
    ReleaseMediaArchiveSlots();
    EXPECT_EQ(TemporaryFiles(), 0u);
    ScopedEnv nowhere("TMPDIR", work_.File("no-such-directory"));
    EXPECT_EQ(Resolved(Media("Two.png")), "") << "no temporary file can be made";
}

TEST_F(MediaArchiveTest, TemporaryFileReplacesASymbolicLinkWithoutFollowingIt) {
    Write(Archive({{"Door.wav", Bytes("creak")}, {"Bell.wav", Bytes("ding")}}));
    SetMediaArchive(archive_, archive_);
    const std::string victim = work_.File("victim.txt");
    WriteFileText(victim, "keep me");
    std::string held, path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotStream, Media("Bell.wav"), held));  // keeps the folder
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Door.wav"), path));
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);
    EXPECT_EQ(Resolved(Media("Door.wav")), "creak");
    EXPECT_EQ(ReadFileText(victim), "keep me");
    EXPECT_EQ(ExtractedName(path).substr(5), "Door.wav");
}

// Damage to an entry or to the directory: the lookup fails and leaves no partial file, and a
// directory outside the file keeps the archive from opening at all.
TEST_F(MediaArchiveTest, DamagedArchivesAreRefusedAndLeaveNoPartialFile) {
    const std::string text(5000, 'a');
    const Image good = Archive({{"Noise.wav", Noise(4000)}, {"Text.png", Bytes(text)}});
    const size_t offsetField = FirstOffsetField(good), storedField = offsetField + 4, directory = good.size() - 4;
    const uint32_t stored = U32At(good, storedField), size = static_cast<uint32_t>(good.size());
    const std::pair<size_t, uint32_t> patches[] = {
        {storedField, stored - 10}, {storedField, stored + 1},  // the stream cut short, a byte after its end marker
        {0, 3999}, {0, 4001}, {0, 0xFFFFFFFF},  // more, less than announced; 4 GiB, refused before allocating
        {directory, size}, {directory, -size - 1},  // the directory at the very end, before the start
        {offsetField, size - 3}, {offsetField, uint32_t(-5)},  // data runs past the end, starts before the start
        {storedField, 0x7FFFFFFF}, {storedField, 3}};  // stored size past the end, too small for its size field
    for (const auto& [at, value] : patches) {
        Image image = good;
        PutI32(image, at, value);
        Write(image);
        SbxReader reader;
        EXPECT_EQ(reader.Open(archive_) == SbxOpen::BadDirectory, at == directory) << at << " " << value;
        SetMediaArchive(archive_, "");
        EXPECT_EQ(Resolved(Media("Noise.wav")), "") << at << " " << value;
        EXPECT_EQ(TemporaryFiles(), 0u) << at << " " << value;
    }
    EXPECT_EQ(Resolved(Media("Text.png")), text) << "the neighbour of a damaged entry is still fine";
    Image garbage = good;
    for (size_t i = stored + 4; i < stored + 40; ++i) garbage[i] = 0xFF;  // in the second entry's stream
    Write(garbage);
    EXPECT_EQ(Resolved(Media("Text.png")), "");
    EXPECT_EQ(TemporaryFiles(), 0u);
    Image out;
    const Image block = PackEntryBlock(Image(100000, 0));
    const uint32_t packed = static_cast<uint32_t>(block.size() - 4);
    EXPECT_TRUE(UnpackLzo1x(block.data() + 4, packed, 100000, out));
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, packed * 255 + 1, out)) << "more than LZO1X can yield";
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, kMaxEntryBytes + 1, out));
}

// Replays the archive fuzzing corpus through the same checks the fuzzer runs.
TEST(MediaArchiveCorpusTest, EveryKeptInputResolvesSafely) {
    ScopedTempDir work, temporary;
    ScopedEnv tmpDir("TMPDIR", temporary.path());
    CreateMediaArchiveSlots(work.path());
    size_t replayed = 0;
    for (const auto& entry : fs::directory_iterator(SourceDirectory() + "/fuzz/corpus/archive")) {
        const std::vector<unsigned char> bytes = ReadFileBytes(entry.path().string());
        EXPECT_EQ(fuzzcheck::CheckArchiveLookup(bytes.data(), bytes.size(), work.path(), temporary.path()), "")
            << entry.path();
        ++replayed;
    }
    ReleaseMediaArchiveSlots();
    EXPECT_GT(replayed, 10u);
}

}  // namespace
