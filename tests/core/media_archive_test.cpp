// Media lookup through the archive slots: disk first, then "sbX" archives built by the sbx tool's
// own writer, with the temporary files they leave and the damaged archives they must refuse.
#include "core/media_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "core/media_archive_format.h"
#include "sbx_writer.h"
#include "tests/support/temp_files.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// Noise that LZO1X cannot shrink, the same for every run.
std::vector<uint8_t> Noise(size_t count, uint32_t seed = 12345) {
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    return bytes;
}

void PutI32(std::vector<uint8_t>& image, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

int32_t I32At(const std::vector<uint8_t>& image, size_t at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(image[at + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

// Position of the data-offset field of directory entry `index` in an archive with offsets from the start.
size_t OffsetFieldOf(const std::vector<uint8_t>& archive, int index) {
    size_t at = static_cast<size_t>(I32At(archive, archive.size() - 4));
    for (int i = 0; i < index; ++i) at += 1 + archive[at] + 8;
    return at + 1 + archive[at];
}

class MediaArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        hadTmpDir_ = old != nullptr;
        if (hadTmpDir_) oldTmpDir_ = old;
        setenv("TMPDIR", temp_.path().c_str(), 1);
        mkdir(work_.File("Media").c_str(), 0700);
        archive_ = work_.File("Media.sbx");
        CreateMediaArchiveSlots(work_.path());
        SetMediaArchive(archive_, "");
    }
    void TearDown() override {
        ReleaseMediaArchiveSlots();
        if (hadTmpDir_) setenv("TMPDIR", oldTmpDir_.c_str(), 1);
        else unsetenv("TMPDIR");
    }

    void WriteArchive(const std::vector<SbxInput>& inputs, SbxLayout layout = {}) {
        std::vector<uint8_t> image;
        std::string error;
        ASSERT_TRUE(BuildSbxArchive(inputs, layout, image, error)) << error;
        WriteImage(image);
    }
    std::vector<uint8_t> Image(const std::vector<SbxInput>& inputs, SbxLayout layout = {}) {
        std::vector<uint8_t> image;
        std::string error;
        EXPECT_TRUE(BuildSbxArchive(inputs, layout, image, error)) << error;
        return image;
    }
    void WriteImage(const std::vector<uint8_t>& image) {
        WriteFileBytes(archive_, std::vector<unsigned char>(image.begin(), image.end()));
    }
    std::string Media(const std::string& name) const { return work_.File("Media/" + name); }
    std::vector<std::string> TemporaryFiles() const { return ListDirectory(temp_.path()); }

    ScopedTempDir work_;
    ScopedTempDir temp_;
    std::string archive_;

private:
    bool hadTmpDir_ = false;
    std::string oldTmpDir_;
};

// ---------------------------------------------------------------------------------------------
// Resolution order

TEST_F(MediaArchiveTest, FileOnDiskWinsAndTheArchiveIsNotOpened) {
    WriteFileText(Media("Sprites.png"), "loose");
    WriteImage(Bytes("not an archive at all"));
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), path));
    EXPECT_EQ(path, Media("Sprites.png"));

    // Had the lookup opened the archive, its bad trailer would have disabled the slot.
    WriteArchive({{"Other.png", Bytes("packed")}});
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Other.png"), path));
    EXPECT_EQ(ReadFileText(path), "packed");
}

TEST_F(MediaArchiveTest, MissingFileComesFromTheArchiveAndEmptyOrUnknownNamesFail) {
    WriteArchive({{"Sprites.png", Bytes("tile set")}});
    std::string path = "stale";
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, "", path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Nothing.png"), path));
    EXPECT_EQ(path, "");
    EXPECT_FALSE(ResolveMediaFile(7, Media("Sprites.png"), path));
    // An unknown name leaves the slot enabled.
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), path));
    EXPECT_EQ(ReadFileText(path), "tile set");
}

// ---------------------------------------------------------------------------------------------
// Name matching

TEST_F(MediaArchiveTest, PlainNamesAndOtherLetterCaseMatchButNotAnExtraLeadingCharacter) {
    WriteArchive({{"xSprites.png", Bytes("wrong")},
                  {"MEDIA/ASTROR.PNG", Bytes("astro")},
                  {"sprites.PNG", Bytes("tiles")}});
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "Media/Sprites.png", path));
    EXPECT_EQ(ReadFileText(path), "tiles");
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "Media\\AstroR.png", path));
    EXPECT_EQ(ReadFileText(path), "astro");
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, "Sprites", path));
}

TEST(SbxNameMatchesTest, StoredNameMustCoverTheBaseNameAndFitTheRequest) {
    EXPECT_TRUE(SbxNameMatches("Bell.wav", "Media/Bell.wav"));
    EXPECT_TRUE(SbxNameMatches("dia/BELL.WAV", "Media/Bell.wav"));
    EXPECT_FALSE(SbxNameMatches("ell.wav", "Media/Bell.wav"));
    EXPECT_FALSE(SbxNameMatches("xBell.wav", "Media/Bell.wav"));
    EXPECT_FALSE(SbxNameMatches("Media/Bell.wav", "Bell.wav"));
}

// ---------------------------------------------------------------------------------------------
// Layouts and the archive trailer

TEST_F(MediaArchiveTest, OffsetsFromTheEndResolveTheSameEntries) {
    const std::vector<SbxInput> inputs = {{"A.wav", Noise(3000, 1)}, {"B.png", Bytes("bee")}, {"C.png", {}}};
    for (SbxOffsets offsets : {SbxOffsets::FromStart, SbxOffsets::FromEnd}) {
        WriteArchive(inputs, {offsets, 17});
        for (const SbxInput& input : inputs) {
            std::string path;
            ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media(input.storedName), path)) << input.storedName;
            const std::vector<unsigned char> got = ReadFileBytes(path);
            EXPECT_EQ(std::vector<uint8_t>(got.begin(), got.end()), input.bytes) << input.storedName;
        }
    }
}

TEST_F(MediaArchiveTest, BadTrailerDisablesTheSlotUntilTheArchiveIsSelectedAgain) {
    std::vector<uint8_t> image = Image({{"Bell.wav", Bytes("ding")}});
    image[image.size() - 5] = 'x';  // "sbx" instead of "sbX"
    WriteImage(image);
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));

    WriteArchive({{"Bell.wav", Bytes("ding")}});
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    WriteFileText(Media("Bell.wav"), "on disk");
    EXPECT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    unlink(Media("Bell.wav").c_str());

    SetMediaArchive(archive_, "");
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    EXPECT_EQ(ReadFileText(path), "ding");
}

TEST_F(MediaArchiveTest, MissingArchiveOrEmptyArchiveNameDisablesTheSlot) {
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    WriteArchive({{"Bell.wav", Bytes("ding")}});
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    SetMediaArchive("", archive_);
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    EXPECT_TRUE(ResolveMediaFile(MediaSlotStream, Media("Bell.wav"), path));
}

// ---------------------------------------------------------------------------------------------
// Temporary files

TEST_F(MediaArchiveTest, EachSlotKeepsOnlyItsLastTemporaryFile) {
    WriteArchive({{"One.png", Bytes("1")}, {"Two.png", Bytes("2")}});
    std::string first, second;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("One.png"), first));
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Two.png"), second));
    EXPECT_FALSE(FileExists(first));
    ASSERT_EQ(TemporaryFiles().size(), 1u);
    EXPECT_TRUE(FileExists(second));

    SetMediaArchive(archive_, "");
    EXPECT_TRUE(TemporaryFiles().empty());
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("One.png"), first));
    ReleaseMediaArchiveSlots();
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(MediaArchiveTest, TemporaryNameTakesLettersFromOffsetAndStoredSize) {
    // Find content whose block is exactly 1000 bytes, then place it at offset 30.
    std::vector<uint8_t> content;
    for (size_t n = 900; n < 1000 && content.empty(); ++n) {
        if (PackEntryBlock(Noise(n)).size() == 1000) content = Noise(n);
    }
    ASSERT_FALSE(content.empty());
    WriteArchive({{"Sprites.png", content}}, {SbxOffsets::FromStart, 30});
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), path));
    EXPECT_EQ(path, temp_.File("sbxEYSprites.png"));
}

TEST_F(MediaArchiveTest, TemporaryFileIsPrivateAndReplacesASymbolicLinkWithoutFollowingIt) {
    const std::vector<uint8_t> image = Image({{"Door.wav", Bytes("creak")}});
    WriteImage(image);
    const std::string victim = work_.File("victim.txt");
    WriteFileText(victim, "keep me");
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Door.wav"), path));
    ASSERT_EQ(unlink(path.c_str()), 0);
    ASSERT_EQ(symlink(victim.c_str(), path.c_str()), 0);

    SetMediaArchive(archive_, "");  // forgets the (deleted) name without touching the link's target
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Door.wav"), path));
    EXPECT_EQ(ReadFileText(victim), "keep me");
    struct stat info;
    ASSERT_EQ(lstat(path.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(ReadFileText(path), "creak");
}

TEST_F(MediaArchiveTest, TemporaryFileThatCannotBeCreatedIsAFailure) {
    WriteArchive({{"Bell.wav", Bytes("ding")}});
    setenv("TMPDIR", work_.File("no-such-directory").c_str(), 1);
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path));
    EXPECT_EQ(path, "");
}

// ---------------------------------------------------------------------------------------------
// Hostile and damaged archives

TEST_F(MediaArchiveTest, StoredDirectoryPartsNeverLeaveTheTemporaryDirectory) {
    WriteArchive({{"../../evil.png", Bytes("a")}, {"/etc/no-such-tumbrel-file", Bytes("b")}, {"up/..", Bytes("c")},
                  {"dir/", Bytes("d")}});
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "../../evil.png", path));
    EXPECT_EQ(path, temp_.File("sbx" + path.substr(temp_.path().size() + 4, 2) + "evil.png"));
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "/etc/no-such-tumbrel-file", path));
    EXPECT_EQ(path.rfind(temp_.path() + "/sbx", 0), 0u);
    EXPECT_EQ(ReadFileText(path), "b");
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, "up/..", path));
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, "dir/", path));
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(MediaArchiveTest, DamagedEntryFailsAndLeavesNoPartialFile) {
    const std::string text(5000, 'a');
    const std::vector<uint8_t> good = Image({{"Noise.wav", Noise(4000)}, {"Text.png", Bytes(text)}});
    const size_t storedField = OffsetFieldOf(good, 0) + 4;
    const int32_t stored = I32At(good, storedField);
    std::vector<std::vector<uint8_t>> damaged(5, good);
    PutI32(damaged[0], storedField, stored - 10);  // the stream is cut short
    PutI32(damaged[1], storedField, stored + 1);   // a byte left over after the end marker
    PutI32(damaged[2], 0, 3999);                   // the stream yields more than announced
    PutI32(damaged[3], 0, 4001);                   // the stream yields less than announced
    for (size_t i = static_cast<size_t>(stored) + 4; i < static_cast<size_t>(stored) + 40; ++i) damaged[4][i] = 0xFF;
    const char* names[] = {"Noise.wav", "Noise.wav", "Noise.wav", "Noise.wav", "Text.png"};
    for (size_t i = 0; i < damaged.size(); ++i) {
        WriteImage(damaged[i]);
        std::string path;
        EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media(names[i]), path)) << "case " << i;
        EXPECT_TRUE(TemporaryFiles().empty()) << "case " << i;
    }
    // The neighbour of a damaged entry is still fine.
    WriteImage(damaged[0]);
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Text.png"), path));
    EXPECT_EQ(ReadFileText(path), text);
}

TEST_F(MediaArchiveTest, ImpossibleUnpackedSizesAreRefusedBeforeAllocating) {
    std::vector<uint8_t> image = Image({{"Big.png", Bytes("x")}});
    PutI32(image, 0, -1);  // 4 GiB from a block of a few bytes
    WriteImage(image);
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Big.png"), path));

    std::vector<uint8_t> out;
    const std::vector<uint8_t> zeros(100000, 0);
    const std::vector<uint8_t> block = PackEntryBlock(zeros);
    const size_t packed = block.size() - 4;
    EXPECT_TRUE(UnpackLzo1x(block.data() + 4, packed, 100000, out));
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, static_cast<uint32_t>(packed * 255 + 1), out));
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, kMaxEntryBytes + 1, out));
}

TEST_F(MediaArchiveTest, OffsetsOutsideTheFileAreRefused) {
    const std::vector<uint8_t> good = Image({{"Bell.wav", Bytes("ding")}});
    const size_t offsetField = OffsetFieldOf(good, 0);
    const int32_t fileSize = static_cast<int32_t>(good.size());
    struct Case {
        size_t at;
        int32_t value;
    };
    const Case cases[] = {
        {good.size() - 4, fileSize},         // directory behind the end
        {good.size() - 4, -fileSize - 1},    // directory before the start
        {offsetField, fileSize - 3},         // data runs past the end
        {offsetField, -5},                   // data before the start
        {offsetField + 4, 0x7FFFFFFF},       // stored size past the end
        {offsetField + 4, 3},                // stored size without room for the unpacked size
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> image = good;
        PutI32(image, c.at, c.value);
        WriteImage(image);
        SetMediaArchive(archive_, "");
        std::string path;
        EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Bell.wav"), path)) << c.at << " " << c.value;
        EXPECT_TRUE(TemporaryFiles().empty());
    }
}

TEST_F(MediaArchiveTest, TruncatedArchivesFailWithoutCrashing) {
    const std::vector<uint8_t> good = Image({{"Bell.wav", Noise(500)}, {"Gems.wav", Noise(600)}});
    for (size_t length = 0; length < good.size(); length += 7) {
        WriteImage(std::vector<uint8_t>(good.begin(), good.begin() + length));
        SetMediaArchive(archive_, "");
        std::string path;
        EXPECT_FALSE(ResolveMediaFile(MediaSlotMedia, Media("Gems.wav"), path)) << length;
    }
}

}  // namespace
