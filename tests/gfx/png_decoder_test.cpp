// The PNG decoder: accepted layouts after the transformations, the colour key on RGB only,
// and the refusals with their two lines on standard output.
#include <gtest/gtest.h>
#include <png.h>

#include "gfx/picture.h"
#include "picture_files.h"
#include "tests/support/temp_files.h"

namespace {

constexpr uint32_t kMagenta = 0x8000FF;

class PngDecoder : public ::testing::Test {
protected:
    std::string Write(const PngLayout& layout) {
        std::string path = dir_.File("picture" + std::to_string(++count_) + ".png");
        WritePng(path, layout);
        return path;
    }
    ScopedTempDir dir_;
    int count_ = 0;
};

TEST_F(PngDecoder, EveryAcceptedLayoutBecomesRgbaAndOnlyRgbResultsAreKeyed) {
    PngLayout paletteWithAlpha(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x01, 0x20});
    paletteWithAlpha.palette = {0x000000, 0xFF0080, 0x00FF00};
    paletteWithAlpha.transparency = {0, 255};
    PngLayout paletteOpaque(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1});
    paletteOpaque.palette = {0xFF0080, 0x102030};
    struct Case {
        PngLayout layout;
        uint32_t key;
        std::vector<uint32_t> pixels;
    };
    const Case cases[] = {
        {{2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 10, 20, 30}}, kMagenta, {0, 0x0A141EFF}},
        {{1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {255, 0, 128, 200, 1, 2, 3, 0}}, kMagenta, {0xFF0080C8, 0x01020300}},
        {{2, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 77}}, 0, {0x000000FF, 0x4D4D4DFF}},
        {{4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B}}, kMagenta, {0x000000FF, 0x555555FF, 0xAAAAAAFF, 0xFFFFFFFF}},
        {paletteWithAlpha, kMagenta, {0, 0xFF0080FF, 0x00FF00FF}},
        {paletteOpaque, kMagenta, {0, 0x102030FF}},
        {{1, 1, PNG_COLOR_TYPE_RGB, 16, {0xAB, 0xCD, 0x12, 0x34, 0xFE, 0xDC}}, kMagenta, {0xAB12FEFF}},
    };
    for (const Case& c : cases) {
        Picture picture;
        ASSERT_TRUE(DecodePngFile(Write(c.layout), c.key, picture)) << "colour type " << c.layout.colourType;
        EXPECT_EQ(PixelsOf(picture), c.pixels) << "colour type " << c.layout.colourType << ", depth " << c.layout.bitDepth;
    }
}

// Layouts that are not accepted are refused with two lines; damaged and foreign files quietly.
TEST_F(PngDecoder, RefusalsSayWhyOnlyForLayoutsTheDecoderCannotTake) {
    PngLayout greyKeyed(1, 1, PNG_COLOR_TYPE_GRAY, 8, {5});
    greyKeyed.transparentGrey = 5;
    const std::vector<uint8_t> bytes = ReadFileBytes(Write({4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(48, 9)}));
    WriteFileBytes(dir_.File("cut.png"), std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    WriteFileBytes(dir_.File("foreign.png"), {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0});
    const std::string unsupported[] = {Write(PngLayout(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {1, 2})), Write(greyKeyed)};
    for (const std::string& path : {unsupported[0], unsupported[1], dir_.File("cut.png"), dir_.File("foreign.png"),
                                    dir_.File("missing.png")}) {
        Picture picture;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(DecodePngFile(path, kMagenta, picture)) << path;
        const bool says = path == unsupported[0] || path == unsupported[1];
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  says ? "File " + path + " has unsupported color type.\nTypes GRAY, RGB and RGB_ALPHA are supported.\n" : "");
    }
}

}  // namespace
