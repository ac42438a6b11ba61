// The art and sound sources: frames come out where the strips need them, loops close, mistakes
// are reported with their file and line, and sounds come out at the loudness asked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "art_script.h"
#include "script_reader.h"
#include "synth.h"
#include "tests/support/temp_files.h"

namespace {

class ArtSources : public ::testing::Test {
protected:
    ArtSources() {
        WriteFileText(dir_.File("palette.txt"), "K 000000\nW ffffff\nR ff0000\n");
        palette_ = LoadPalette(dir_.File("palette.txt"));
    }
    Image Compile(const std::string& text) {
        WriteFileText(dir_.File("test.art"), text);
        return CompileArt(dir_.File("test.art"), palette_);
    }
    std::string ErrorOf(const std::string& text) {
        try {
            Compile(text);
        } catch (const ScriptError& error) {
            return error.what();
        }
        return "";
    }
    static std::string Tile(const std::string& name, const std::string& firstRow) {
        std::string text = "tile " + name + "\n" + firstRow + "\n";
        for (int row = 1; row < 16; ++row) text += "................\n";
        return text;
    }
    static Image Frame(const Image& strip, int index) {
        Image frame(16, strip.height);
        for (int y = 0; y < strip.height; ++y)
            for (int x = 0; x < 16; ++x) frame.at(x, y) = strip.at(index * 16 + x, y);
        return frame;
    }
    ScopedTempDir dir_;
    Palette palette_;
};

}  // namespace

TEST_F(ArtSources, SequencesFollowEachOtherInOneRowOfFrames) {
    Image strip = Compile(Tile("dot", "W...............") + "frame -\nframes 3\n  layer dot\nend\nframe dot\n");
    EXPECT_EQ(strip.width, 5 * 16);
    EXPECT_EQ(strip.height, 16);
    EXPECT_EQ(strip.at(0, 0).a, 0);  // "-" is an empty frame
    EXPECT_EQ(strip.at(16, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(strip.at(64, 0), (Rgba{255, 255, 255, 255}));
}

TEST_F(ArtSources, ALoopStopsOneStepShortOfItsEndSoTheStripRepeatsWithoutAJump) {
    Image strip = Compile(Tile("dot", "W...............") + "frames 16\n  layer dot wrap 0..16 0\nend\n");
    for (int frame = 0; frame < 16; ++frame) EXPECT_EQ(strip.at(frame * 16 + frame, 0).a, 255) << frame;
}

TEST_F(ArtSources, QuarterTurnsAndSmoothRotationAgreeOnTheDirectionOfTurning) {
    Image strip = Compile(Tile("dot", "..............WW") + "frame dot turn 1\nframe dot rotate 90\n");
    Image turned = Frame(strip, 0), rotated = Frame(strip, 1);
    EXPECT_EQ(turned.at(15, 15).a, 255);  // a pixel at the top right turns to the bottom right
    EXPECT_TRUE(turned.pixels == rotated.pixels);
}

TEST_F(ArtSources, MistakesNameTheirFileAndLine) {
    EXPECT_NE(ErrorOf(Tile("a", "Z...............")).find("test.art:2: letter 'Z'"), std::string::npos);
    EXPECT_NE(ErrorOf("frame nothing\n").find("test.art:1: no tile named 'nothing'"), std::string::npos);
    EXPECT_NE(ErrorOf(Tile("a", "W...............") + "frame a spin 3\n").find(":18: unknown transformation 'spin'"),
              std::string::npos);
    EXPECT_NE(ErrorOf("tile short\n....\n").find("a row of tile 'short' is 16 letters"), std::string::npos);
    EXPECT_NE(ErrorOf("frames 2\n").find("has no 'end'"), std::string::npos);
    EXPECT_NE(ErrorOf("include missing.tiles\n").find("cannot open"), std::string::npos);
}

TEST(SoundSources, ASoundHasItsLengthAndLoudnessAndDecaysToSilence) {
    ScopedTempDir dir;
    WriteFileText(dir.File("ping.snd"),
                  "length 0.4\nloudness -16\nvoice sine\n  pitch 880..440\n  envelope attack 0.002 decay 0.2\n");
    SoundSpec spec = ParseSound(ReadScript(dir.File("ping.snd")));
    std::vector<int16_t> samples = RenderSound(spec);
    ASSERT_EQ(samples.size(), size_t(0.4 * 22050));
    EXPECT_NEAR(LoudestWindowDb(samples, 22050), -16, 0.5);
    std::vector<int16_t> tail(samples.end() - 2205, samples.end());
    EXPECT_LT(LoudestWindowDb(tail, 22050), -50);  // an envelope with a decay dies away
}

TEST(SoundSources, LoudSoundsAreLimitedBelowFullScale) {
    ScopedTempDir dir;
    WriteFileText(dir.File("loud.snd"), "length 0.2\nloudness 0\nvoice square\n  pitch 100\n");
    std::vector<int16_t> samples = RenderSound(ParseSound(ReadScript(dir.File("loud.snd"))));
    int peak = 0;
    for (int16_t s : samples) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LE(peak, int(32767 * 0.892));
}

TEST(SoundSources, MistakesNameTheirLine) {
    ScopedTempDir dir;
    auto errorOf = [&dir](const std::string& text) -> std::string {
        WriteFileText(dir.File("bad.snd"), text);
        try {
            ParseSound(ReadScript(dir.File("bad.snd")));
        } catch (const ScriptError& error) {
            return error.what();
        }
        return "";
    };
    EXPECT_NE(errorOf("pitch 440\n").find("bad.snd:1: 'pitch' belongs to a voice"), std::string::npos);
    EXPECT_NE(errorOf("voice organ\n").find("unknown waveform 'organ'"), std::string::npos);
    EXPECT_NE(errorOf("voice sine\n  pitch 0..440\n").find("bad.snd:2: pitches are above 0 Hz"), std::string::npos);
    EXPECT_NE(errorOf("length 99\nvoice sine\n").find("between 0 and 10 seconds"), std::string::npos);
    EXPECT_NE(errorOf("length 0.1\n").find("needs at least one voice"), std::string::npos);
}
