// Media lookup through the archive slots: disk first, then "sbX" archives built by the sbx tool's
// own writer, with the temporary files they leave and the damaged archives they must refuse.
#include "core/media_archive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/media_archive_format.h"
#include "sbx_writer.h"
#include "tests/support/temp_files.h"

namespace {

using Image = std::vector<uint8_t>;

Image Bytes(const std::string& text) { return Image(text.begin(), text.end()); }

// Noise that LZO1X cannot shrink, the same for every run.
Image Noise(size_t count, uint32_t seed = 12345) {
    Image bytes(count);
    for (uint8_t& b : bytes) b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    return bytes;
}

void PutI32(Image& image, size_t at, int32_t value) {
    for (int i = 0; i < 4; ++i) image[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

int32_t I32At(const Image& image, size_t at) {
    uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(image[at + i]) << (8 * i);
    return static_cast<int32_t>(u);
}

// Position of the first directory entry's data offset, followed by its stored size.
size_t FirstOffsetField(const Image& archive) {
    size_t at = static_cast<size_t>(I32At(archive, archive.size() - 4));
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

    void Write(const Image& image) { WriteFileBytes(archive_, std::vector<unsigned char>(image.begin(), image.end())); }
    std::string Media(const std::string& name) const { return work_.File("Media/" + name); }
    // The unpacked bytes of `name` from the media slot; "" when the lookup fails.
    std::string Resolved(const std::string& name) {
        std::string path = "stale";
        if (ResolveMediaFile(MediaSlotMedia, name, path)) return ReadFileText(path);
        EXPECT_EQ(path, "");
        return "";
    }
    std::vector<std::string> TemporaryFiles() const { return ListDirectory(temp_.path()); }

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
    Write(Archive(
        {{"xSprites.png", Bytes("wrong")}, {"MEDIA/ASTROR.PNG", Bytes("astro")}, {"sprites.PNG", Bytes("tiles")}}));
    EXPECT_EQ(Resolved("Media/Sprites.png"), "tiles");
    EXPECT_EQ(Resolved("Media\\AstroR.png"), "astro");
    EXPECT_EQ(Resolved("Sprites"), "");
    EXPECT_EQ(Resolved(""), "");
    EXPECT_EQ(Resolved(Media("Nothing.png")), "");
    std::string path;
    EXPECT_FALSE(ResolveMediaFile(7, Media("Sprites.png"), path)) << "no such slot";
    EXPECT_EQ(Resolved("Media/Sprites.png"), "tiles") << "a failed lookup leaves the slot enabled";

    EXPECT_FALSE(SbxNameMatches("ell.wav", "Media/Bell.wav")) << "shorter than the base name";
    EXPECT_FALSE(SbxNameMatches("Media/Bell.wav", "Bell.wav")) << "longer than the request";
    EXPECT_TRUE(SbxNameMatches("dia/BELL.WAV", "Media/Bell.wav"));
}

TEST_F(MediaArchiveTest, OffsetsFromTheEndResolveTheSameEntries) {
    const std::vector<SbxInput> inputs = {{"A.wav", Noise(3000, 1)}, {"B.png", Bytes("bee")}, {"C.png", {}}};
    for (SbxOffsets offsets : {SbxOffsets::FromStart, SbxOffsets::FromEnd}) {
        Write(Archive(inputs, {offsets, 17}));
        for (const SbxInput& input : inputs)
            EXPECT_EQ(Bytes(Resolved(Media(input.storedName))), input.bytes) << input.storedName;
    }
}

TEST_F(MediaArchiveTest, AMissingOrBadArchiveDisablesTheSlotUntilItIsSelectedAgain) {
    EXPECT_EQ(Resolved(Media("Bell.wav")), "");  // no archive yet
    Write(Archive({{"Bell.wav", Bytes("ding")}}));
    EXPECT_EQ(Resolved(Media("Bell.wav")), "");
    WriteFileText(Media("Bell.wav"), "on disk");
    EXPECT_EQ(Resolved(Media("Bell.wav")), "on disk") << "a disabled slot still finds files on disk";
    unlink(Media("Bell.wav").c_str());

    Image image = Archive({{"Bell.wav", Bytes("ding")}});
    image[image.size() - 5] = 'x';  // "sbx" instead of "sbX"
    Write(image);
    SetMediaArchive(archive_, "");
    EXPECT_EQ(Resolved(Media("Bell.wav")), "");
    Write(Archive({{"Bell.wav", Bytes("ding")}}));
    EXPECT_EQ(Resolved(Media("Bell.wav")), "");
    SetMediaArchive("", archive_);
    EXPECT_EQ(Resolved(Media("Bell.wav")), "") << "an empty archive name disables the slot";
    std::string path;
    EXPECT_TRUE(ResolveMediaFile(MediaSlotStream, Media("Bell.wav"), path));
    SetMediaArchive(archive_, "");
    EXPECT_EQ(Resolved(Media("Bell.wav")), "ding");
}

TEST_F(MediaArchiveTest, EachSlotKeepsOnlyItsLastTemporaryFile) {
    Write(Archive({{"One.png", Bytes("1")}, {"Two.png", Bytes("2")}}));
    std::string first, second;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("One.png"), first));
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Two.png"), second));
    EXPECT_FALSE(FileExists(first));
    EXPECT_EQ(TemporaryFiles().size(), 1u);
    SetMediaArchive(archive_, "");
    EXPECT_TRUE(TemporaryFiles().empty());
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("One.png"), first));
    ReleaseMediaArchiveSlots();
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(MediaArchiveTest, TemporaryNameTakesLettersFromOffsetAndStoredSize) {
    // Content whose block is exactly 1000 bytes, placed at offset 30.
    size_t n = 900;
    while (n < 1000 && PackEntryBlock(Noise(n)).size() != 1000) ++n;
    ASSERT_LT(n, 1000u);
    Write(Archive({{"Sprites.png", Noise(n)}}, {SbxOffsets::FromStart, 30}));
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, Media("Sprites.png"), path));
    EXPECT_EQ(path, temp_.File("sbxEYSprites.png"));
}

TEST_F(MediaArchiveTest, TemporaryFileIsPrivateAndReplacesASymbolicLinkWithoutFollowingIt) {
    Write(Archive({{"Door.wav", Bytes("creak")}}));
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
    Write(Archive({{"Bell.wav", Bytes("ding")}}));
    ScopedEnv nowhere("TMPDIR", work_.File("no-such-directory"));
    EXPECT_EQ(Resolved(Media("Bell.wav")), "");
}

TEST_F(MediaArchiveTest, StoredDirectoryPartsNeverLeaveTheTemporaryDirectory) {
    Write(Archive({{"../../evil.png", Bytes("a")}, {"/etc/no-such-tumbrel-file", Bytes("b")}, {"up/..", Bytes("c")},
                   {"dir/", Bytes("d")}}));
    std::string path;
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "../../evil.png", path));
    EXPECT_EQ(path, temp_.File("sbx" + path.substr(temp_.path().size() + 4, 2) + "evil.png"));
    ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, "/etc/no-such-tumbrel-file", path));
    EXPECT_EQ(path.rfind(temp_.path() + "/sbx", 0), 0u);
    EXPECT_EQ(Resolved("up/.."), "");
    EXPECT_EQ(Resolved("dir/"), "");
    EXPECT_TRUE(TemporaryFiles().empty());
}

TEST_F(MediaArchiveTest, DamagedEntryFailsAndLeavesNoPartialFile) {
    const std::string text(5000, 'a');
    const Image good = Archive({{"Noise.wav", Noise(4000)}, {"Text.png", Bytes(text)}});
    const size_t storedField = FirstOffsetField(good) + 4;
    const int32_t stored = I32At(good, storedField);
    std::vector<Image> damaged(5, good);
    PutI32(damaged[0], storedField, stored - 10);  // the stream is cut short
    PutI32(damaged[1], storedField, stored + 1);   // a byte left over after the end marker
    PutI32(damaged[2], 0, 3999);                   // the stream yields more than announced
    PutI32(damaged[3], 0, 4001);                   // the stream yields less than announced
    for (size_t i = static_cast<size_t>(stored) + 4; i < static_cast<size_t>(stored) + 40; ++i) damaged[4][i] = 0xFF;
    for (size_t i = 0; i < damaged.size(); ++i) {
        Write(damaged[i]);
        EXPECT_EQ(Resolved(Media(i < 4 ? "Noise.wav" : "Text.png")), "") << "case " << i;
        EXPECT_TRUE(TemporaryFiles().empty()) << "case " << i;
    }
    Write(damaged[0]);
    EXPECT_EQ(Resolved(Media("Text.png")), text) << "the neighbour of a damaged entry is still fine";
}

TEST_F(MediaArchiveTest, ImpossibleUnpackedSizesAreRefusedBeforeAllocating) {
    Image image = Archive({{"Big.png", Bytes("x")}});
    PutI32(image, 0, -1);  // 4 GiB from a block of a few bytes
    Write(image);
    EXPECT_EQ(Resolved(Media("Big.png")), "");

    Image out;
    const Image block = PackEntryBlock(Image(100000, 0));
    const size_t packed = block.size() - 4;
    EXPECT_TRUE(UnpackLzo1x(block.data() + 4, packed, 100000, out));
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, static_cast<uint32_t>(packed * 255 + 1), out));
    EXPECT_FALSE(UnpackLzo1x(block.data() + 4, packed, kMaxEntryBytes + 1, out));
}

TEST_F(MediaArchiveTest, OffsetsOutsideTheFileAreRefused) {
    const Image good = Archive({{"Bell.wav", Bytes("ding")}});
    const size_t offsetField = FirstOffsetField(good), directoryField = good.size() - 4;
    const int32_t fileSize = static_cast<int32_t>(good.size());
    const std::pair<size_t, int32_t> cases[] = {
        {directoryField, fileSize},       // directory behind the end
        {directoryField, -fileSize - 1},  // directory before the start
        {offsetField, fileSize - 3},      // data runs past the end
        {offsetField, -5},                // data before the start
        {offsetField + 4, 0x7FFFFFFF},    // stored size past the end
        {offsetField + 4, 3},             // stored size without room for the unpacked size
    };
    for (const auto& [at, value] : cases) {
        Image image = good;
        PutI32(image, at, value);
        Write(image);
        SetMediaArchive(archive_, "");
        EXPECT_EQ(Resolved(Media("Bell.wav")), "") << at << " " << value;
        EXPECT_TRUE(TemporaryFiles().empty());
    }
}

}  // namespace
