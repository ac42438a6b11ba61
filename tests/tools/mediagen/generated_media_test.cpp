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

struct Strip {
    const char* name;
    int frames;
};

// The strips of the start-up table with the frames the game draws from each.
const Strip kStrips[] = {
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

bool HasVisiblePixels(const Picture& picture, int frame) {
    for (int y = 0; y < 16; ++y)
        for (int x = frame * 16; x < frame * 16 + 16; ++x)
            if (picture.rgba[(size_t(y) * picture.width + x) * 4 + 3] != 0) return true;
    return false;
}

std::vector<std::string> EveryNameTheStartUpLoads() {
    std::vector<std::string> names = {"Menu.png", "zFont.png"};
    for (const Strip& strip : kStrips) names.push_back(strip.name);
    for (const char* sound : kSounds) names.push_back(sound);
    return names;
}

}  // namespace

TEST(GeneratedMedia, EveryStripDecodesWithTheFramesTheGameDraws) {
    for (const Strip& strip : kStrips) {
        SCOPED_TRACE(strip.name);
        Picture picture;
        ASSERT_TRUE(DecodePictureFile(Staged(strip.name), 0x8000FF, picture));
        EXPECT_EQ(picture.height, 16);
        EXPECT_EQ(picture.width, strip.frames * 16);
        if (std::string(strip.name) == "Sprites.png") continue;  // some codes of the tile set are never drawn
        for (int frame = 0; frame + 1 < strip.frames; ++frame) EXPECT_TRUE(HasVisiblePixels(picture, frame)) << frame;
    }
}

TEST(GeneratedMedia, TheTileSetDrawsEveryCodeTheCaveShowsFromIt) {
    Picture tiles;
    ASSERT_TRUE(DecodePictureFile(Staged("Sprites.png"), 0x8000FF, tiles));
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18}) EXPECT_TRUE(HasVisiblePixels(tiles, code)) << code;
    EXPECT_FALSE(HasVisiblePixels(tiles, 0));  // empty space shows the background
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
    auto cellHasInk = [](const Picture& p, int cell, int code) {
        for (int y = (code / 16) * cell; y < (code / 16 + 1) * cell; ++y)
            for (int x = (code % 16) * cell; x < (code % 16 + 1) * cell; ++x)
                if (p.rgba[(size_t(y) * p.width + x) * 4 + 3] != 0) return true;
        return false;
    };
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.!abcdefghijklmnopqrstuvwxyz")) {
        EXPECT_TRUE(cellHasInk(font, 16, c)) << c;
        EXPECT_TRUE(cellHasInk(small, 8, c)) << c;
    }
    EXPECT_FALSE(cellHasInk(font, 16, ' '));
}

TEST(GeneratedMedia, EverySoundIsShortMonoPcmTheReaderAccepts) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        std::vector<unsigned char> file = ReadFileBytes(Staged(name));
        WavSamples samples;
        std::string reason;
        ASSERT_TRUE(ReadWav(file.data(), file.size(), samples, reason)) << reason;
        EXPECT_EQ(samples.format.channels, 1);
        EXPECT_EQ(samples.format.bitsPerSample, 16);
        EXPECT_EQ(samples.format.sampleRate, 22050);
        double seconds = double(samples.byteCount) / 2 / 22050;
        EXPECT_GT(seconds, 0.02);
        EXPECT_LT(seconds, 1.0);
    }
}

TEST(GeneratedMedia, TheArchiveHandsOutEveryFileTheStartUpLoads) {
    const std::string archive = BuildDir() + "/Media.sbx";
    struct stat info;
    if (stat(archive.c_str(), &info) != 0) GTEST_SKIP() << "no Media.sbx: the sbx tool was not built";
    ScopedTempDir program, temp;
    const char* oldTemp = std::getenv("TMPDIR");
    std::string savedTemp = oldTemp ? oldTemp : "";
    setenv("TMPDIR", temp.path().c_str(), 1);
    CreateMediaArchiveSlots(program.path());
    SetMediaArchive(archive, "");
    for (const std::string& name : EveryNameTheStartUpLoads()) {
        std::string path;
        // No Media directory beside this program: every name must come out of the archive.
        ASSERT_TRUE(ResolveMediaFile(MediaSlotMedia, program.File("Media/" + name), path)) << name;
        EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(Staged(name))) << name;
    }
    ReleaseMediaArchiveSlots();
    if (oldTemp) setenv("TMPDIR", savedTemp.c_str(), 1);
    else unsetenv("TMPDIR");
}
