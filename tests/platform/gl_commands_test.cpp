// The runtime's drawing commands on real GL: a strip frame and a text line in the built-in font,
// checked pixel by pixel against the pictures they come from, and the screenshot of the result.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "gl_test_window.h"
#include "platform/platform.h"
#include "platform/png_writer.h"
#include "tests/support/temp_files.h"

namespace {

const Rgb kBlack{0, 0, 0};

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

}  // namespace
