// The GL renderer on a real context: textures land pixel-exact, the alpha test drops clear texels,
// and the scaled presentation repeats every frame pixel as a whole block on the window as it is.
#include <SDL.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <vector>

#include "gfx/sprites.h"
#include "gl_test_window.h"
#include "platform/gl_renderer.h"
#include "platform/sdl_window.h"

namespace {

const Rgb kBlack{0, 0, 0};

// rgba bottom-up, as textures are uploaded.
std::vector<uint8_t> NoiseTexels(int width, int height, uint32_t seed) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    for (size_t byte = 0; byte < rgba.size(); ++byte) {
        seed = seed * 1664525u + 1013904223u;
        rgba[byte] = (byte % 4 == 3) ? 255 : static_cast<uint8_t>(seed >> 24);
    }
    return rgba;
}

// One quad with corners in the order sprites are drawn: top right, top left, bottom left, bottom right.
void DrawQuad(TextureId texture, float x, float y, float width, float height, float uRight, bool alphaTest = true) {
    const QuadCorner corners[4] = {{x + width, y, uRight, 1}, {x, y, 0, 1}, {x, y + height, 0, 0},
                                   {x + width, y + height, uRight, 0}};
    QuadBatch batch;
    batch.texture = texture;
    batch.filter = TextureFilter::Nearest;
    batch.alphaTest = alphaTest;
    batch.corners = corners;
    batch.quadCount = 1;
    CurrentRenderer().DrawQuads(batch);
}

class GlRendererTest : public GlWindowTest {};

TEST_F(GlRendererTest, AlphaTestPassesOnlyAlphaAboveFivePercent) {
    std::vector<uint8_t> texels(2 * 2 * 4, 200);
    texels[3] = 0;    // bottom left
    texels[7] = 12;   // bottom right: 0.047
    texels[11] = 14;  // top left: 0.055
    const TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 2, 2, TextureFilter::Nearest);
    DrawQuad(texture, 0, 0, 2, 2, 1);
    DrawQuad(texture, 4, 0, 2, 2, 1, false);
    const std::vector<uint8_t> frame = ReadFrame();
    const Rgb grey{200, 200, 200};
    EXPECT_EQ((std::vector<Rgb>{PixelAt(frame, 320, 0, 1), PixelAt(frame, 320, 1, 1), PixelAt(frame, 320, 0, 0),
                                PixelAt(frame, 320, 1, 0), PixelAt(frame, 320, 4, 1)}),
              (std::vector<Rgb>{kBlack, kBlack, grey, grey, grey})) << "a batch without the alpha test draws every texel";
    CurrentRenderer().FreeTexture(texture);
}

// The window is resized after creation the way a window manager that refuses full screen leaves
// it: SDL reports the size it asked for, the surface keeps its own. The picture follows the surface.
TEST_F(GlRendererTest, ScaledPresentationRepeatsEveryFramePixelAsAWholeBlockThenDrawingIsBackAtOneToOne) {
    const std::vector<uint8_t> texels = NoiseTexels(256, 256, 11);
    const TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 256, 256, TextureFilter::Nearest);
    const int sizesAskedFor[][2] = {{320 * kWindowScale, 240 * kWindowScale}, {1100, 830}, {640, 480}};
    for (const auto& asked : sizesAskedFor) {
        SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), asked[0], asked[1]);
        PlatformWindow().PumpEvents();
        CurrentRenderer().BeginFrame();
        CurrentRenderer().Clear(ClearColour);
        DrawQuad(texture, 0, 0, 256, 256, 1);
        DrawQuad(texture, 256, 100, 64, 140, 0.25f);
        const std::vector<uint8_t> frame = ReadFrame();
        PlatformRenderer().ComposeScaledPicture();
        std::vector<uint8_t> window;
        int width = 0, height = 0;
        ASSERT_TRUE(PlatformRenderer().ReadWindowPixels(window, width, height));
        ASSERT_EQ(width, 320 * kWindowScale) << "asked for " << asked[0];
        ASSERT_EQ(height, 240 * kWindowScale);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(PixelAt(window, width, x, y), PixelAt(frame, 320, x / kWindowScale, y / kWindowScale))
                    << "window pixel " << x << "," << y << ", asked for " << asked[0] << " x " << asked[1];
    }
    SDL_SetWindowSize(SDL_GL_GetCurrentWindow(), 320 * kWindowScale, 240 * kWindowScale);

    CurrentRenderer().FreeTexture(texture);
    CurrentRenderer().Clear(ClearColour);
    const std::vector<uint8_t> white(2 * 2 * 4, 255);
    const TextureId corner = CurrentRenderer().CreateTexture(white.data(), 2, 2, TextureFilter::Nearest);
    DrawQuad(corner, 318, 238, 2, 2, 1);
    const std::vector<uint8_t> after = ReadFrame();
    EXPECT_EQ(PixelAt(after, 320, 319, 239), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(after, 320, 317, 237), kBlack);
    CurrentRenderer().FreeTexture(corner);
}

// At scale 1 nothing reads the picture back between frames: unless presenting flushes, the
// software rasteriser keeps every frame's drawing queued until exit.
class GlRendererUnscaledTest : public GlWindowTest {
protected:
    static void SetUpTestSuite() { OpenAtScale(1); }
};

TEST_F(GlRendererUnscaledTest, PresentingManyFramesKeepsMemoryFlat) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer holds freed memory in quarantine: the peak tells nothing";
#endif
    const std::vector<uint8_t> texels = NoiseTexels(256, 256, 5);
    const TextureId texture = CurrentRenderer().CreateTexture(texels.data(), 256, 256, TextureFilter::Nearest);
    auto peakKilobytes = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_maxrss;
    };
    constexpr int kCells = 40;
    long peakAfter300 = 0;
    for (int frame = 1; frame <= 3000; ++frame) {
        CurrentRenderer().BeginFrame();
        CurrentRenderer().Clear(ClearColour | ClearDepth);
        for (int cell = 0; cell < kCells; ++cell)
            DrawQuad(texture, cell % 20 * 16.0f, cell / 20 * 16.0f, 16, 16, 1.0f / 16);
        CurrentRenderer().Present();
        if (frame == 300) peakAfter300 = peakKilobytes();
    }
    EXPECT_LT(peakKilobytes() - peakAfter300, 40 * 1024) << "kilobytes more after 3,000 frames than after 300";
    CurrentRenderer().FreeTexture(texture);
}

}  // namespace
