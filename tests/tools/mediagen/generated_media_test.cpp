// The media the build made, read the way the game reads them: every picture, sound and font the
// start-up loads decodes with its size and frame count, and Media.sbx hands each of them out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

#include "audio/wav_reader.h"
#include "core/media_archive.h"
#include "gfx/picture.h"
#include "tests/support/temp_files.h"

namespace {

// The strips of the start-up table with the frames the game draws from each.
const std::pair<const char*, int> kStrips[] = {
    {"Sprites.png", 44}, {"AstroR.png", 16},   {"AstroL.png", 16},    {"AstroU.png", 16},   {"AstroD.png", 16},
    {"ErdStrip.png", 16}, {"Circle.png", 16},  {"Dynamite.png", 16},  {"PushR.png", 16},    {"PushL.png", 16},
    {"Exit.png", 16},    {"Lava.png", 16},     {"StoneR.png", 16},    {"StoneL.png", 16},   {"Blink.png", 32},
    {"Quish.png", 16},   {"Explos.png", 16},   {"BugR.png", 16},      {"BugL.png", 16},     {"BugU.png", 16},
    {"BugD.png", 16},    {"BugStripR.png", 64}, {"BugStripL.png", 64}, {"WaxStrip.png", 16}, {"YamYam.png", 16},
    {"Saphir.png", 16},  {"Elec.png", 8},
};

const char* const kSounds[] = {"Move.wav", "Suck.wav", "Dyna.wav", "Bumm.wav", "Knip.wav", "Push.wav",
                               "Exit.wav", "Door.wav", "Fels.wav", "Fire.wav", "Gems.wav", "Quik.wav",
                               "Open.wav", "Bell.wav", "Grow.wav", "Disk.wav", "Stop.wav", "Klic.wav"};

std::string BuildDir() {
    const char* dir = std::getenv("TUMBREL_BUILD_DIR");
    return dir ? dir : ".";
}

std::string Staged(const std::string& name) {
    const char* staging = std::getenv("TUMBREL_MEDIA_STAGING_DIR");
    return (staging ? std::string(staging) : BuildDir() + "/assets/staged-media") + "/" + name;
}

// Whether cell `index` of a picture cut into square cells of `size` pixels has a visible pixel.
bool CellHasInk(const Picture& picture, int size, int index) {
    const int columns = picture.width / size, left = index % columns * size, top = index / columns * size;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x)
            if (picture.rgba[(size_t(y) * picture.width + x) * 4 + 3] != 0) return true;
    return false;
}

}  // namespace

TEST(GeneratedMedia, EveryStripDecodesWithTheFramesTheGameDraws) {
    for (const auto& strip : kStrips) {
        SCOPED_TRACE(strip.first);
        Picture picture;
        ASSERT_TRUE(DecodePictureFile(Staged(strip.first), 0x8000FF, picture));
        EXPECT_EQ(picture.height, 16);
        EXPECT_EQ(picture.width, strip.second * 16);
        if (std::string(strip.first) == "Sprites.png") continue;  // some codes of the tile set are never drawn
        for (int frame = 0; frame + 1 < strip.second; ++frame) EXPECT_TRUE(CellHasInk(picture, 16, frame)) << frame;
    }
}

TEST(GeneratedMedia, TheTileSetDrawsEveryCodeTheCaveShowsFromIt) {
    Picture tiles;
    ASSERT_TRUE(DecodePictureFile(Staged("Sprites.png"), 0x8000FF, tiles));
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18}) EXPECT_TRUE(CellHasInk(tiles, 16, code)) << code;
    EXPECT_FALSE(CellHasInk(tiles, 16, 0));  // empty space shows the background
}

TEST(GeneratedMedia, MenuPictureAndFontsHaveTheirLayouts) {
    Picture menu, font, small;
    ASSERT_TRUE(DecodePictureFile(Staged("Menu.png"), 0xFFFFFFFF, menu));
    EXPECT_EQ(menu.width, 320);
    EXPECT_EQ(menu.height, 240);
    for (size_t i = 3; i < menu.rgba.size(); i += 4) ASSERT_EQ(menu.rgba[i], 255) << "the menu picture is opaque";
    ASSERT_TRUE(DecodePictureFile(Staged("zFont.png"), 0, font));
    EXPECT_EQ(font.width, 256);  // 16 x 8 cells of 16 x 16: codes 0..127
    EXPECT_EQ(font.height, 128);
    ASSERT_TRUE(DecodePictureFile(BuildDir() + "/smalfont.bmp", 0, small));
    EXPECT_EQ(small.width, 128);
    EXPECT_EQ(small.height, 64);
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.!abcdefghijklmnopqrstuvwxyz")) {
        EXPECT_TRUE(CellHasInk(font, 16, c)) << c;
        EXPECT_TRUE(CellHasInk(small, 8, c)) << c;
    }
    EXPECT_FALSE(CellHasInk(font, 16, ' '));
}

TEST(GeneratedMedia, EverySoundIsShortMonoPcmTheReaderAccepts) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const std::vector<unsigned char> file = ReadFileBytes(Staged(name));
        WavSamples samples;
        std::string reason;
        ASSERT_TRUE(ReadWav(file.data(), file.size(), samples, reason)) << reason;
        EXPECT_EQ(samples.format.channels, 1);
        EXPECT_EQ(samples.format.bitsPerSample, 16);
        EXPECT_EQ(samples.format.sampleRate, 22050);
        const double seconds = double(samples.byteCount) / 2 / 22050;
        EXPECT_GT(seconds, 0.02);
        EXPECT_LT(seconds, 1.0);
    }
}

TEST(GeneratedMedia, TheArchiveHandsOutEveryFileTheStartUpLoads) {
    const std::string archive = BuildDir() + "/Media.sbx";
    struct stat info;
    if (stat(archive.c_str(), &info) != 0) GTEST_SKIP() << "no Media.sbx: the sbx tool was not built";
    ScopedTempDir program, temp;
    ScopedEnv tmpDir("TMPDIR", temp.path());
    CreateMediaArchiveSlots(program.path());
    SetMediaArchive(archive, "");
    std::vector<std::string> names = {"Menu.png", "zFont.png"};
    for (const auto& strip : kStrips) names.push_back(strip.first);
    names.insert(names.end(), std::begin(kSounds), std::end(kSounds));
    for (const std::string& name : names) {
        std::string path;
        // No Media directory beside this program: every name must come out of the archive.
        ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, program.File("Media/" + name), path)) << name;
        EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(Staged(name))) << name;
    }
    ReleaseMediaArchiveSlots();
}
