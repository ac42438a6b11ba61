// Texture building: power-of-two sizes from 2, rows turned bottom-up, clear padding, edge fill.
#include <gtest/gtest.h>

#include "gfx/picture.h"
#include "picture_files.h"

namespace {

// A picture of 24-bit colours, top row first; magenta pixels come out clear.
Picture PictureOf(int width, int height, const std::vector<uint32_t>& pixels) {
    Picture picture;
    EXPECT_TRUE(DecodeBmp(BmpBytes({width, height, 24, false, {}, pixels}), 0x8000FF, picture));
    return picture;
}

uint32_t TexelAt(const TextureImage& image, int x, int row) { return PixelAt(image.rgba, image.texWidth, x, row); }

// A 20 x 10 picture pads to 32 x 16 with its top row in texture row 9; beyond the driver's limit
// the picture is cut.
TEST(TextureImage, SizesArePowersOfTwoFromTwoRowsTurnBottomUpAndPaddingIsClear) {
    const int sizes[][2] = {{1, 2}, {2, 2}, {3, 4}, {16, 16}, {17, 32}};
    for (const auto& size : sizes) EXPECT_EQ(PowerOfTwoFrom2(size[0]), size[1]) << size[0];
    std::vector<uint32_t> pixels(200, 0x323C46);
    std::fill_n(pixels.begin(), 20, 0xC83C46);  // the top row
    const Picture picture = PictureOf(20, 10, pixels);
    TextureImage image = BuildTextureImage(picture, 4096);
    ASSERT_EQ(image.texWidth, 32);
    ASSERT_EQ(image.texHeight, 16);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 32; ++x) {
            const uint32_t expected = row >= 10 || x >= 20 ? 0 : Rgba(row == 9 ? 200 : 50, 60, 70, 255);
            ASSERT_EQ(TexelAt(image, x, row), expected) << x << "," << row;
        }
    TextureImage clamped = BuildTextureImage(picture, 8);
    EXPECT_EQ(clamped.texWidth, 8);
    EXPECT_EQ(clamped.texHeight, 8);
    EXPECT_EQ(TexelAt(clamped, 7, 7), Rgba(200, 60, 70, 255));
}

TEST(TextureImage, EdgeFillGivesClearTexelsTheMeanOfOpaqueInnerNeighbours) {
    std::vector<uint32_t> pixels(16, 0xFF0080);
    pixels[2 * 4 + 1] = 0x640000;  // (1, 2): texture (1, 1)
    pixels[2 * 4 + 2] = 0x003300;  // (2, 2): texture (2, 1)
    pixels[3 * 4 + 0] = 0x0000FF;  // (0, 3): texture (0, 0), on the border: never a source
    TextureImage image = BuildTextureImage(PictureOf(4, 4, pixels), 4096);
    FillTransparentEdges(image);
    // (1, 2) touches both inner texels: (100 + 0) / 2, (0 + 51) / 2 truncated.
    EXPECT_EQ(TexelAt(image, 1, 2), Rgba(50, 25, 0, 0));
    // The only inner neighbour of (3, 3) is the clear (2, 2).
    EXPECT_EQ(TexelAt(image, 3, 3), Rgba(0, 0, 0, 0));
    EXPECT_EQ(TexelAt(image, 3, 1), Rgba(0, 51, 0, 0));
    // Opaque texels keep their colour, the border texel included.
    EXPECT_EQ(TexelAt(image, 0, 0), Rgba(0, 0, 255, 255));
    EXPECT_EQ(TexelAt(image, 1, 1), Rgba(100, 0, 0, 255));
    // (1, 0) sees (1, 1) and (2, 1) but not the border texel (0, 0).
    EXPECT_EQ(TexelAt(image, 1, 0), Rgba(50, 25, 0, 0));
}

}  // namespace
