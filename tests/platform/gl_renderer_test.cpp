// The GL renderer on a real context: textures land pixel-exact, the alpha test drops clear texels,
// and the scaled presentation repeats every frame pixel as a whole block.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/sprites.h"
#include "gl_test_window.h"
#include "platform/gl_renderer.h"

namespace {

// rgba bottom-up, as textures are uploaded.
std::vector<uint8_t> NoiseTexels(int width, int height, uint32_t seed) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t byte = 0; byte < rgba.size(); ++byte) {
        seed = seed * 1664525u + 1013904223u;
        rgba[byte] = (byte % 4 == 3) ? 255 : static_cast<uint8_t>(seed >> 24);
    }
    return rgba;
}

Rgb TexelAt(const std::vector<uint8_t>& rgba, int width, int x, int row) {
    const uint8_t* texel = &rgba[(static_cast<size_t>(row) * width + x) * 4];
    return Rgb{texel[0], texel[1], texel[2]};
}

// Corners in the order sprites are drawn: top right, top left, bottom left, bottom right.
std::vector<QuadCorner> Quad(float x, float y, float width, float height, float uLeft, float uRight) {
    return {{x + width, y, uRight, 1}, {x, y, uLeft, 1}, {x, y + height, uLeft, 0},
            {x + width, y + height, uRight, 0}};
}

void Draw(TextureId texture, const std::vector<QuadCorner>& corners, bool alphaTest = true) {
    QuadBatch batch;
    batch.texture = texture;
    batch.filter = TextureFilter::Nearest;
    batch.alphaTest = alphaTest;
    batch.corners = corners.data();
    batch.quadCount = static_cast<int>(corners.size() / 4);
    CurrentRenderer().DrawQuads(batch);
}

class GlRendererTest : public GlWindowTest {};

TEST_F(GlRendererTest, TextureLandsPixelExactWithItsFirstRowAtTheBottom) {
    std::vector<uint8_t> texels = NoiseTexels(4, 4, 7);
    TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 4, 4, TextureFilter::Nearest);
    Draw(texture, Quad(10, 20, 4, 4, 0, 1));
    std::vector<uint8_t> frame = ReadFrame();
    for (int dy = 0; dy < 4; ++dy)
        for (int dx = 0; dx < 4; ++dx)
            EXPECT_EQ(PixelAt(frame, 320, 10 + dx, 20 + dy), TexelAt(texels, 4, dx, 3 - dy)) << dx << "," << dy;
    EXPECT_EQ(PixelAt(frame, 320, 9, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 320, 14, 23), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 320, 10, 24), (Rgb{0, 0, 0}));
    CurrentRenderer().FreeTexture(texture);
}

TEST_F(GlRendererTest, AlphaTestPassesOnlyAlphaAboveFivePercent) {
    std::vector<uint8_t> texels(2 * 2 * 4, 200);
    texels[3] = 0;    // bottom left
    texels[7] = 12;   // bottom right: 0.047
    texels[11] = 14;  // top left: 0.055
    TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 2, 2, TextureFilter::Nearest);
    Draw(texture, Quad(0, 0, 2, 2, 0, 1));
    Draw(texture, Quad(4, 0, 2, 2, 0, 1), false);
    std::vector<uint8_t> frame = ReadFrame();
    const Rgb grey{200, 200, 200}, black{0, 0, 0};
    EXPECT_EQ(PixelAt(frame, 320, 0, 1), black);
    EXPECT_EQ(PixelAt(frame, 320, 1, 1), black);
    EXPECT_EQ(PixelAt(frame, 320, 0, 0), grey);
    EXPECT_EQ(PixelAt(frame, 320, 1, 0), grey);
    EXPECT_EQ(PixelAt(frame, 320, 4, 1), grey) << "a batch without the alpha test draws every texel";
    CurrentRenderer().FreeTexture(texture);
}

TEST_F(GlRendererTest, ManyQuadsInOneBatchAllLand) {
    std::vector<uint8_t> texels = NoiseTexels(8, 2, 3);
    TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 8, 2, TextureFilter::Nearest);
    std::vector<QuadCorner> corners;
    for (int cell = 0; cell < 4; ++cell) {
        std::vector<QuadCorner> quad = Quad(100 + cell * 2.0f, 50, 2, 2, cell * 0.25f, (cell + 1) * 0.25f);
        corners.insert(corners.end(), quad.begin(), quad.end());
    }
    Draw(texture, corners);
    std::vector<uint8_t> frame = ReadFrame();
    for (int x = 0; x < 8; ++x) {
        EXPECT_EQ(PixelAt(frame, 320, 100 + x, 50), TexelAt(texels, 8, x, 1));
        EXPECT_EQ(PixelAt(frame, 320, 100 + x, 51), TexelAt(texels, 8, x, 0));
    }
    CurrentRenderer().FreeTexture(texture);
}

TEST_F(GlRendererTest, ScaledPresentationRepeatsEveryFramePixelAsAWholeBlock) {
    std::vector<uint8_t> texels = NoiseTexels(256, 256, 11);
    TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 256, 256, TextureFilter::Nearest);
    Draw(texture, Quad(0, 0, 256, 256, 0, 1));
    Draw(texture, Quad(256, 100, 64, 140, 0, 0.25f));
    std::vector<uint8_t> frame = ReadFrame();

    PlatformRenderer().ComposeScaledPicture();
    std::vector<uint8_t> window;
    int width = 0, height = 0;
    ASSERT_TRUE(PlatformRenderer().ReadWindowPixels(window, width, height));
    ASSERT_EQ(width, 320 * kWindowScale);
    ASSERT_EQ(height, 240 * kWindowScale);
    int mismatches = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (!(PixelAt(window, width, x, y) == PixelAt(frame, 320, x / kWindowScale, y / kWindowScale)) &&
                ++mismatches <= 5)
                ADD_FAILURE() << "window pixel " << x << "," << y << " is " << PixelAt(window, width, x, y);
    EXPECT_EQ(mismatches, 0);
    CurrentRenderer().FreeTexture(texture);
}

TEST_F(GlRendererTest, DrawingAfterThePresentationIsBackAtOneToOne) {
    PlatformRenderer().ComposeScaledPicture();
    CurrentRenderer().Clear(ClearColour);
    std::vector<uint8_t> texels(2 * 2 * 4, 255);
    TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 2, 2, TextureFilter::Nearest);
    Draw(texture, Quad(318, 238, 2, 2, 0, 1));
    std::vector<uint8_t> frame = ReadFrame();
    EXPECT_EQ(PixelAt(frame, 320, 319, 239), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(frame, 320, 317, 237), (Rgb{0, 0, 0}));
    CurrentRenderer().FreeTexture(texture);
}

}  // namespace
