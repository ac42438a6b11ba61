// Texture building: power-of-two sizes from 2, rows turned bottom-up, clear padding, edge fill.
#include <gtest/gtest.h>

#include "gfx/picture.h"
#include "picture_files.h"

namespace {

Picture SolidPicture(int width, int height, uint32_t rgba) {
    Picture picture;
    picture.width = width;
    picture.height = height;
    for (int i = 0; i < width * height; ++i) {
        for (int shift : {24, 16, 8, 0}) picture.rgba.push_back(rgba >> shift & 0xFF);
    }
    return picture;
}

uint32_t TexelAt(const TextureImage& image, int x, int row) { return PixelAt(image.rgba, image.texWidth, x, row); }

// A 20 x 10 picture pads to 32 x 16 with its top row in texture row 9; beyond the driver's limit
// the picture is cut.
TEST(TextureImage, SizesArePowersOfTwoFromTwoRowsTurnBottomUpAndPaddingIsClear) {
    const int sizes[][2] = {{1, 2}, {2, 2}, {3, 4}, {16, 16}, {17, 32}};
    for (const auto& size : sizes) EXPECT_EQ(PowerOfTwoFrom2(size[0]), size[1]) << size[0];
    Picture picture = SolidPicture(20, 10, Rgba(50, 60, 70, 255));
    for (int x = 0; x < 20; ++x) picture.rgba[x * 4] = 200;  // mark the top row
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
    Picture picture = SolidPicture(4, 4, 0);
    auto set = [&](int x, int y, uint32_t rgba) {
        for (int i = 0; i < 4; ++i) picture.rgba[(y * 4 + x) * 4 + i] = rgba >> (24 - 8 * i) & 0xFF;
    };
    set(1, 2, Rgba(100, 0, 0, 255));  // texture (1, 1)
    set(2, 2, Rgba(0, 51, 0, 255));   // texture (2, 1)
    set(0, 3, Rgba(0, 0, 255, 255));  // texture (0, 0): on the border, never a source
    TextureImage image = BuildTextureImage(picture, 4096);
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
