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

TEST_F(ArtSources, SequencesFollowEachOtherInOneRowOfFrames) {
    const Image strip = Compile(Tile("dot", "W...............") + "frame -\nframes 3\n  layer dot\nend\nframe dot\n");
    EXPECT_EQ(strip.width, 5 * 16);
    EXPECT_EQ(strip.height, 16);
    EXPECT_EQ(strip.at(0, 0).a, 0);  // "-" is an empty frame
    EXPECT_EQ(strip.at(16, 0), kWhite);
    EXPECT_EQ(strip.at(64, 0), kWhite);
}

TEST_F(ArtSources, ALoopStopsOneStepShortOfItsEndSoTheStripRepeatsWithoutAJump) {
    const Image strip = Compile(Tile("dot", "W...............") + "frames 16\n  layer dot wrap 0..16 0\nend\n");
    for (int frame = 0; frame < 16; ++frame) EXPECT_EQ(strip.at(frame * 16 + frame, 0).a, 255) << frame;
}

TEST_F(ArtSources, QuarterTurnsAndSmoothRotationAgreeOnTheDirectionOfTurning) {
    const Image strip = Compile(Tile("dot", "..............WW") + "frame dot turn 1\nframe dot rotate 90\n");
    EXPECT_EQ(strip.at(15, 15).a, 255);  // a pixel at the top right turns to the bottom right
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(strip.at(x, y), strip.at(16 + x, y)) << x << "," << y;
}

TEST_F(ArtSources, MistakesNameTheirFileAndLine) {
    const std::pair<std::string, const char*> cases[] = {
        {Tile("a", "Z..............."), "test.art:2: letter 'Z'"},
        {"frame nothing\n", "test.art:1: no tile named 'nothing'"},
        {Tile("a", "W...............") + "frame a spin 3\n", ":18: unknown transformation 'spin'"},
        {"tile short\n....\n", "a row of tile 'short' is 16 letters"},
        {"frames 2\n", "has no 'end'"},
        {"include missing.tiles\n", "cannot open"},
    };
    for (const auto& c : cases) EXPECT_NE(ErrorOf(c.first).find(c.second), std::string::npos) << c.second;
}

class SoundSources : public ::testing::Test {
protected:
    SoundScript Parse(const std::string& text) {
        WriteFileText(dir_.File("sound.snd"), text);
        return ParseSound(ReadScript(dir_.File("sound.snd")));
    }
    ScopedTempDir dir_;
};

TEST_F(SoundSources, ASoundHasItsLengthAndLoudnessAndDecaysToSilence) {
    const std::vector<int16_t> samples =
        RenderSound(Parse("length 0.4\nloudness -16\nvoice sine\n  pitch 880..440\n  envelope attack 0.002 decay 0.2\n"));
    ASSERT_EQ(samples.size(), size_t(0.4 * 22050));
    EXPECT_NEAR(LoudestWindowDb(samples, 22050), -16, 0.5);
    const std::vector<int16_t> tail(samples.end() - 2205, samples.end());
    EXPECT_LT(LoudestWindowDb(tail, 22050), -50);  // an envelope with a decay dies away
}

TEST_F(SoundSources, LoudSoundsAreLimitedBelowFullScale) {
    int peak = 0;
    for (int16_t s : RenderSound(Parse("length 0.2\nloudness 0\nvoice square\n  pitch 100\n"))) peak = std::max(peak, std::abs(int(s)));
    EXPECT_LE(peak, int(32767 * 0.892));
}

TEST_F(SoundSources, MistakesNameTheirLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"pitch 440\n", "sound.snd:1: 'pitch' belongs to a voice"},
        {"voice organ\n", "unknown waveform 'organ'"},
        {"voice sine\n  pitch 0..440\n", "sound.snd:2: pitches are above 0 Hz"},
        {"length 99\nvoice sine\n", "between 0 and 10 seconds"},
        {"length 0.1\n", "needs at least one voice"},
    };
    for (const auto& c : cases) {
        try {
            Parse(c.first);
            ADD_FAILURE() << "no mistake found in: " << c.first;
        } catch (const ScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(c.second), std::string::npos) << error.what();
        }
    }
}

}  // namespace
