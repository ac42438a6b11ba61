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
    std::string Write(const PngSpec& spec) {
        std::string path = dir_.File("picture" + std::to_string(++count_) + ".png");
        WritePng(path, spec);
        return path;
    }
    ScopedTempDir dir_;
    int count_ = 0;
};

TEST_F(PngDecoder, RgbPixelsGetFullAlphaAndTheKeyedColourIsClear) {
    std::string path = Write(SimplePng(2, 1, PNG_COLOR_TYPE_RGB, 8, {255, 0, 128, 10, 20, 30}));
    Picture picture;
    ASSERT_TRUE(DecodePngFile(path, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0, 0, 0, 0));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(10, 20, 30, 255));
}

TEST_F(PngDecoder, RgbaKeepsItsOwnAlphaEvenInTheKeyColour) {
    std::string path = Write(SimplePng(1, 2, PNG_COLOR_TYPE_RGB_ALPHA, 8, {255, 0, 128, 200, 1, 2, 3, 0}));
    Picture picture;
    ASSERT_TRUE(DecodePngFile(path, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(255, 0, 128, 200));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 1), Rgba(1, 2, 3, 0));
}

TEST_F(PngDecoder, GreyBecomesOpaqueGreyAndIsNeverKeyed) {
    std::string path = Write(SimplePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {0, 77}));
    Picture picture;
    ASSERT_TRUE(DecodePngFile(path, 0, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0, 0, 0, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(77, 77, 77, 255));
}

TEST_F(PngDecoder, SmallGreyDepthsAreExpanded) {
    std::string path = Write(SimplePng(4, 1, PNG_COLOR_TYPE_GRAY, 2, {0x1B}));  // levels 0, 1, 2, 3
    Picture picture;
    ASSERT_TRUE(DecodePngFile(path, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 4, 0, 0), Rgba(0, 0, 0, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 4, 1, 0), Rgba(85, 85, 85, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 4, 3, 0), Rgba(255, 255, 255, 255));
}

TEST_F(PngDecoder, PaletteWithTransparencyBecomesRgba) {
    PngSpec spec = SimplePng(3, 1, PNG_COLOR_TYPE_PALETTE, 4, {0x01, 0x20});
    spec.palette = {0x000000, 0xFF0080, 0x00FF00};
    spec.transparency = {0, 255};
    Picture picture;
    ASSERT_TRUE(DecodePngFile(Write(spec), kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 3, 0, 0), Rgba(0, 0, 0, 0));
    // An RGBA result is not keyed: the magenta entry stays.
    EXPECT_EQ(PixelAt(picture.rgba, 3, 1, 0), Rgba(255, 0, 128, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 3, 2, 0), Rgba(0, 255, 0, 255));
}

TEST_F(PngDecoder, PaletteWithoutTransparencyBecomesKeyableRgb) {
    PngSpec spec = SimplePng(2, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1});
    spec.palette = {0xFF0080, 0x102030};
    Picture picture;
    ASSERT_TRUE(DecodePngFile(Write(spec), kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0, 0, 0, 0));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(0x10, 0x20, 0x30, 255));
}

TEST_F(PngDecoder, SixteenBitChannelsAreStripped) {
    std::string path = Write(SimplePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {0xAB, 0xCD, 0x12, 0x34, 0xFE, 0xDC}));
    Picture picture;
    ASSERT_TRUE(DecodePngFile(path, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(0xAB, 0x12, 0xFE, 255));
}

TEST_F(PngDecoder, GreyWithAlphaIsRefusedWithTwoLines) {
    std::string path = Write(SimplePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {1, 2}));
    Picture picture;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DecodePngFile(path, kMagenta, picture));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "File " + path + " has unsupported color type.\nTypes GRAY, RGB and RGB_ALPHA are supported.\n");
}

TEST_F(PngDecoder, GreyWithATransparencyChunkIsRefusedToo) {
    PngSpec spec = SimplePng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {5});
    spec.transparentGrey = 5;
    std::string path = Write(spec);
    Picture picture;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DecodePngFile(path, kMagenta, picture));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("has unsupported color type."), std::string::npos);
}

TEST_F(PngDecoder, DamagedAndForeignFilesFailQuietly) {
    std::string path = Write(SimplePng(4, 4, PNG_COLOR_TYPE_RGB, 8, std::vector<uint8_t>(48, 9)));
    std::vector<uint8_t> bytes = ReadFileBytes(path);
    std::string cut = dir_.File("cut.png");
    WriteBytes(cut, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    std::string foreign = dir_.File("foreign.png");
    WriteBytes(foreign, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0});
    Picture picture;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(DecodePngFile(cut, kMagenta, picture));
    EXPECT_FALSE(DecodePngFile(foreign, kMagenta, picture));
    EXPECT_FALSE(DecodePngFile(dir_.File("missing.png"), kMagenta, picture));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(PngDecoder, PictureFilesTryBmpFirstThenPng) {
    std::string bmp = dir_.File("picture.bmp");
    WriteBytes(bmp, BmpBytes({1, 1, 24, false, {}, {0x010203}}));
    std::string png = Write(SimplePng(1, 1, PNG_COLOR_TYPE_RGB, 8, {4, 5, 6}));
    Picture picture;
    ASSERT_TRUE(DecodePictureFile(bmp, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(1, 2, 3, 255));
    ASSERT_TRUE(DecodePictureFile(png, kMagenta, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(4, 5, 6, 255));
}

}  // namespace
