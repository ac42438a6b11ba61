// The GL renderer on a real context: textures land pixel-exact, the alpha test drops clear texels,
// and the scaled presentation repeats every frame pixel as a whole block on the window as it is;
// the runtime's drawing commands on it (a strip frame, a text line) and the screenshot of the result;
// a screenshot that cannot be written.
#include <SDL.h>
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <vector>

#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "platform/gl_renderer.h"
#include "platform/platform.h"
#include "platform/png_writer.h"
#include "platform/sdl_window.h"
#include "tests/support/temp_files.h"

namespace {

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
};
std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}
const Rgb kBlack{0, 0, 0};

// A hidden platform window with real OpenGL (offscreen driver, no display), opened once per test
// suite; every test starts from a cleared 2D frame. Tests skip only when no GL context can be made.
class GlWindowTest : public testing::Test {
protected:
    static constexpr int kWindowScale = 3;
    static void SetUpTestSuite() { OpenAtScale(kWindowScale); }
    static void TearDownTestSuite() { ClosePlatform(); }
    static void OpenAtScale(int scale) {
        PlatformOptions options;
        options.headless = true;
        options.windowScale = scale;
        open_ = OpenPlatform(options, "TumbrelDemo");
    }
    void SetUp() override {
        if (!open_) GTEST_SKIP() << "no OpenGL context could be created (SDL_VIDEODRIVER=offscreen needs Mesa EGL)";
        CurrentRenderer().BeginFrame();
        CurrentRenderer().Clear(ClearColour | ClearDepth);
    }
    // The 320 x 240 frame as it stands in the back buffer, top row first.
    static std::vector<uint8_t> ReadFrame() {
        std::vector<uint8_t> frame(320 * 240 * 4);
        EXPECT_TRUE(CurrentRenderer().ReadFrame(frame.data()));
        return frame;
    }
    static Rgb PixelAt(const std::vector<uint8_t>& rgba, int rowWidth, int x, int y) {
        const uint8_t* pixel = &rgba[(static_cast<size_t>(y) * rowWidth + x) * 4];
        return Rgb{pixel[0], pixel[1], pixel[2]};
    }
    static inline bool open_ = false;
};

// 256 x 256 opaque texels of noise.
std::vector<uint8_t> NoiseTexels() {
    std::vector<uint8_t> rgba(256 * 256 * 4);
    for (size_t i = 0; i < rgba.size(); ++i) rgba[i] = i % 4 == 3 ? 255 : static_cast<uint8_t>((i * 2654435761u) >> 13);
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

using GlRendererTest = GlWindowTest;

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
    const std::vector<uint8_t> texels = NoiseTexels();
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

// Every pixel of the 64 x 32 strip differs; one pixel of frame 6 has the sprite colour key.
Rgb StripColour(int x, int y) {
    if (x == 36 && y == 18) return Rgb{255, 0, 128};
    return Rgb{static_cast<uint8_t>(x * 4 + 1), static_cast<uint8_t>(y * 8 + 1), static_cast<uint8_t>(x ^ y)};
}

using GlCommandsTest = GlWindowTest;

// The frame lands at the ceiling of its position, the text at its rounded one.
TEST_F(GlCommandsTest, StripFrameAndTextAreDrawnPixelForPixelAndTheScreenshotHoldsThem) {
    ScopedTempDir dir;
    std::vector<unsigned char> strip;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) {
            const Rgb colour = StripColour(x, y);
            strip.insert(strip.end(), {colour.r, colour.g, colour.b, 255});
        }
    ASSERT_TRUE(WritePngFile(dir.File("strip.png"), strip.data(), 64, 32));
    ASSERT_EQ(LoadAnimStrip(dir.File("strip.png").c_str(), 40, 16, 16), 1.0);
    DrawAnimFrame(40, 6, 10.2, 20);  // frame 6: column 2, row 1 of four columns
    LoadFont(dir.File("no such font.bmp").c_str(), 3);
    PrintText("AB", 3.5, 100);
    const std::vector<uint8_t> frame = ReadFrame();
    for (int dy = -1; dy <= 16; ++dy)
        for (int dx = -1; dx <= 16; ++dx) {
            const bool inside = dx >= 0 && dx < 16 && dy >= 0 && dy < 16;
            Rgb expected = inside ? StripColour(32 + dx, 16 + dy) : kBlack;
            if (expected == (Rgb{255, 0, 128})) expected = kBlack;  // keyed out: not drawn
            ASSERT_EQ(PixelAt(frame, 320, 11 + dx, 20 + dy), expected) << "frame pixel " << dx << "," << dy;
        }
    const Picture font = BuiltInFontPicture();
    ASSERT_EQ(font.width, 128);
    int whitePixels = 0, outlinePixels = 0;
    for (int cell = 0; cell < 3; ++cell) {  // "A", "B" and the clear cell after them
        const int code = 'A' + cell, cellX = (code % 16) * 8, cellY = (code / 16) * 8;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint8_t* glyph = &font.rgba[((cellY + y) * 128 + cellX + x) * 4];
                const Rgb expected = glyph[3] && cell < 2 ? Rgb{glyph[0], glyph[1], glyph[2]} : kBlack;
                ASSERT_EQ(PixelAt(frame, 320, 4 + cell * 8 + x, 100 + y), expected) << char(code) << " " << x << "," << y;
                whitePixels += expected == (Rgb{255, 255, 255});
                outlinePixels += expected == (Rgb{8, 8, 8});
            }
    }
    EXPECT_GT(whitePixels, 10);
    EXPECT_GT(outlinePixels, 10);
    FreeSprite(40);

    const std::string path = dir.File("shot.png");
    std::string error;
    ASSERT_TRUE(SaveScreenshot(path, &error)) << error;
    Picture shot;
    ASSERT_TRUE(DecodePngFile(path, kNoColourKey, shot));
    ASSERT_EQ(shot.width, 320);
    ASSERT_EQ(shot.height, 240);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) ASSERT_EQ(PixelAt(shot.rgba, 320, x, y), PixelAt(frame, 320, x, y)) << x << "," << y;
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
    const std::vector<uint8_t> texels = NoiseTexels();
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

TEST(PngWriter, UnwritablePlaceOrEmptyPictureFailsWithAReasonAndLeavesNoFile) {
    ScopedTempDir dir;
    const std::vector<unsigned char> frame(4 * 4 * 4, 9);
    const std::string path = dir.File("missing/shot.png");
    std::string error;
    EXPECT_FALSE(WritePngFile(path, frame.data(), 4, 4, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_FALSE(WritePngFile(dir.File("a.png"), frame.data(), 0, 4));
    EXPECT_FALSE(WritePngFile(dir.File("b.png"), nullptr, 4, 4));
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
}

}  // namespace
