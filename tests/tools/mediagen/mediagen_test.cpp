// The art and sound sources: frames come out where the strips need them, loops close, mistakes
// are reported with their file and line, and sounds come out at the loudness asked for; the media
// writers against the runtime's own readers; and the media the build made: every strip frame, tile
// and font cell the game draws has something to see (the game's start-up test loads every strip,
// sound and font from Media.sbx and checks their sizes).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "art_script.h"
#include "audio/wav_reader.h"
#include "gfx/picture.h"
#include "image.h"
#include "script_reader.h"
#include "synth.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"
#include "wav_writer.h"

namespace {

class MediaSources : public ::testing::Test {
protected:
    MediaSources() {
        WriteFileText(dir_.File("palette.txt"), "K 000000\nW ffffff\nR ff0000\n");
        palette_ = LoadPalette(dir_.File("palette.txt"));
    }
    Image Art(const std::string& text) {
        WriteFileText(dir_.File("test.art"), text);
        return CompileArt(dir_.File("test.art"), palette_);
    }
    std::vector<int16_t> Sound(const std::string& text) {
        WriteFileText(dir_.File("sound.snd"), text);
        return RenderSound(ParseSound(ReadScript(dir_.File("sound.snd"))));
    }
    // A 16 x 16 tile with one given first row and clear rows below.
    static std::string Tile(const std::string& name, const std::string& firstRow) {
        std::string text = "tile " + name + "\n" + firstRow + "\n";
        for (int row = 1; row < 16; ++row) text += "................\n";
        return text;
    }
    ScopedTempDir dir_;
    Palette palette_;
};

const Rgba kWhite{255, 255, 255, 255};

// Sequences follow each other in one row; a loop stops one step short of its end so the strip
// repeats without a jump; quarter turns and smooth rotation turn the same way.
TEST_F(MediaSources, StripsHoldTheirFramesInOrder) {
    const Image strip = Art(Tile("dot", "W...............") + "frame -\nframes 3\n  layer dot\nend\nframe dot\n");
    EXPECT_EQ(strip.width, 5 * 16);
    EXPECT_EQ(strip.height, 16);
    EXPECT_EQ(strip.at(0, 0).a, 0);  // "-" is an empty frame
    EXPECT_EQ(strip.at(16, 0), kWhite);
    EXPECT_EQ(strip.at(64, 0), kWhite);
    const Image loop = Art(Tile("dot", "W...............") + "frames 16\n  layer dot wrap 0..16 0\nend\n");
    for (int frame = 0; frame < 16; ++frame) EXPECT_EQ(loop.at(frame * 16 + frame, 0).a, 255) << frame;
    const Image turns = Art(Tile("dot", "..............WW") + "frame dot turn 1\nframe dot rotate 90\n");
    EXPECT_EQ(turns.at(15, 15).a, 255);  // a pixel at the top right turns to the bottom right
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(turns.at(x, y), turns.at(16 + x, y)) << x << "," << y;
}

TEST_F(MediaSources, ASoundHasItsLengthAndLoudnessDecaysToSilenceAndStaysBelowFullScale) {
    const std::vector<int16_t> samples =
        Sound("length 0.4\nloudness -16\nvoice sine\n  pitch 880..440\n  envelope attack 0.002 decay 0.2\n");
    ASSERT_EQ(samples.size(), size_t(0.4 * 22050));
    EXPECT_NEAR(LoudestWindowDb(samples, 22050), -16, 0.5);
    EXPECT_LT(LoudestWindowDb(std::vector<int16_t>(samples.end() - 2205, samples.end()), 22050), -50);
    int peak = 0;
    for (int16_t s : Sound("length 0.2\nloudness 0\nvoice square\n  pitch 100\n")) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LE(peak, int(32767 * 0.892));
}

TEST_F(MediaSources, MistakesNameTheirFileAndLine) {
    const struct {
        bool art;
        std::string text;
        const char* message;
    } cases[] = {
        {true, Tile("a", "Z..............."), "test.art:2: letter 'Z'"},
        {true, "frame nothing\n", "test.art:1: no tile named 'nothing'"},
        {true, Tile("a", "W...............") + "frame a spin 3\n", ":18: unknown transformation 'spin'"},
        {true, "tile short\n....\n", "a row of tile 'short' is 16 letters"},
        {true, "frames 2\n", "has no 'end'"},
        {true, "include missing.tiles\n", "cannot open"},
        {false, "pitch 440\n", "sound.snd:1: 'pitch' belongs to a voice"},
        {false, "voice organ\n", "unknown waveform 'organ'"},
        {false, "voice sine\n  pitch 0..440\n", "sound.snd:2: pitches are above 0 Hz"},
        {false, "length 99\nvoice sine\n", "between 0 and 10 seconds"},
        {false, "length 0.1\n", "needs at least one voice"},
    };
    for (const auto& c : cases) {
        std::string error;
        try {
            c.art ? void(Art(c.text)) : void(Sound(c.text));
        } catch (const ScriptError& e) {
            error = e.what();
        }
        EXPECT_NE(error.find(c.message), std::string::npos) << c.message << ", got: " << error;
    }
}

using MediaWriters = MediaSources;

// Every third pixel clear; the others differ from each other. `keyBlack`: true black is clear too.
Image TestPicture(int w, int h, bool keyBlack = false) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba colour{uint8_t(x * 7), uint8_t(y * 11), uint8_t(x ^ y), 255};
            const bool black = colour.r == 0 && colour.g == 0 && colour.b == 0;
            image.at(x, y) = (x + y) % 3 == 0 || (keyBlack && black) ? Rgba{0, 0, 0, 0} : colour;
        }
    return image;
}

void ExpectSamePixels(const Image& image, const Picture& picture) {
    ASSERT_EQ(picture.width, image.width);
    ASSERT_EQ(picture.height, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* q = &picture.rgba[(size_t(y) * picture.width + x) * 4];
            ASSERT_EQ(Rgba({q[0], q[1], q[2], q[3]}), image.at(x, y)) << "pixel " << x << "," << y;
        }
}

TEST_F(MediaWriters, PngKeepsSizeColoursAndTransparencyThroughTheGamesDecoderAndRefusesNothing) {
    const Image strip = TestPicture(48, 16);  // three 16 x 16 frames
    std::string error;
    ASSERT_TRUE(WritePng(dir_.File("strip.png"), strip, error)) << error;
    Picture decoded;
    ASSERT_TRUE(DecodePictureFile(dir_.File("strip.png"), 0x8000FF, decoded));
    ExpectSamePixels(strip, decoded);

    EXPECT_FALSE(WritePng(dir_.File("empty.png"), Image(), error));
    EXPECT_NE(error.find("empty"), std::string::npos);
    EXPECT_FALSE(WritePng(dir_.File("no/such/dir/x.png"), TestPicture(2, 2), error));
    EXPECT_FALSE(error.empty());
}

TEST_F(MediaWriters, BmpIsRead24BitBottomUpWithBlackKeyedOutAsTheFontLoaderDoes) {
    std::string error;
    ASSERT_TRUE(WriteBmp(dir_.File("font.bmp"), TestPicture(13, 5), error)) << error;  // odd width: padded rows
    const std::vector<unsigned char> bytes = ReadFileBytes(dir_.File("font.bmp"));
    ASSERT_EQ(bytes.size(), 54u + 5u * 40u);  // 24 bits a pixel, rows padded to 40 bytes
    Picture decoded;
    ASSERT_TRUE(DecodeBmp(bytes, 0, decoded));
    ExpectSamePixels(TestPicture(13, 5, true), decoded);
}

TEST_F(MediaWriters, WavHasTheOneLayoutTheSoundReaderAccepts) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
    const std::vector<uint8_t> wav = EncodeWav(samples, 22050);
    ASSERT_EQ(wav.size(), size_t(kWavHeaderBytes) + samples.size() * 2);
    WavSamples read;
    std::string reason;
    ASSERT_TRUE(ReadWav(wav.data(), wav.size(), read, reason)) << reason;
    EXPECT_EQ((std::vector<int>{read.format.channels, read.format.sampleRate, read.format.bitsPerSample}),
              (std::vector<int>{1, 22050, 16}));
    ASSERT_EQ(read.byteCount, samples.size() * 2);
    EXPECT_EQ(std::memcmp(read.bytes, wav.data() + kWavHeaderBytes, read.byteCount), 0);
}

std::string Staged(const std::string& name) {
    const char* staging = std::getenv("TUMBREL_MEDIA_STAGING_DIR");
    return (staging ? std::string(staging) : BuildDirectory() + "/assets/staged-media") + "/" + name;
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

// Every strip holds at least the 16 frames the game draws from it (the cursor 8), each but the
// last with something to see; the tile set (some of its codes never drawn) draws every code the
// cave shows from it, and empty space (code 0) shows the background.
TEST(GeneratedMedia, EveryStripDecodesWithTheFramesTheGameDraws) {
    int strips = 0;
    for (const std::string& name : ListDirectory(Staged(""))) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png" || name == "Menu.png" || name == "zFont.png") continue;
        SCOPED_TRACE(name);
        ++strips;
        Picture picture;
        ASSERT_TRUE(DecodePictureFile(Staged(name), 0x8000FF, picture));
        const int frames = picture.width / 16;
        EXPECT_GE(frames, name == "Elec.png" ? 8 : 16);
        for (int frame = 0; name != "Sprites.png" && frame + 1 < frames; ++frame) EXPECT_TRUE(CellHasInk(picture, 16, frame)) << frame;
        if (name != "Sprites.png") continue;
        for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18}) EXPECT_TRUE(CellHasInk(picture, 16, code)) << code;
        EXPECT_FALSE(CellHasInk(picture, 16, 0));
    }
    EXPECT_EQ(strips, 27);
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
    ASSERT_TRUE(DecodePictureFile(BuildDirectory() + "/smalfont.bmp", 0, small));
    EXPECT_EQ(small.width, 128);
    EXPECT_EQ(small.height, 64);
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.!abcdefghijklmnopqrstuvwxyz")) {
        EXPECT_TRUE(CellHasInk(font, 16, c)) << c;
        EXPECT_TRUE(CellHasInk(small, 8, c)) << c;
    }
    EXPECT_FALSE(CellHasInk(font, 16, ' '));
}
