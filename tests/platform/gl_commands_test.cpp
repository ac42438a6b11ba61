// The runtime's drawing commands on real GL: a strip frame, a text line in the built-in font and a
// screenshot of the result, checked pixel by pixel against the pictures they come from.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "gl_test_window.h"
#include "platform/platform.h"
#include "tests/support/temp_files.h"

namespace {

constexpr int kStripId = 40;

void PutLittleEndian(std::vector<unsigned char>& bytes, uint32_t value, int byteCount) {
    for (int byte = 0; byte < byteCount; ++byte) bytes.push_back(static_cast<unsigned char>(value >> (8 * byte)));
}

// A 24-bit BMP, rows stored bottom-up as the format wants; `colourAt(x, y)` with y from the top.
template <typename ColourAt>
std::vector<unsigned char> Bmp24(int width, int height, ColourAt colourAt) {
    int stride = (width * 3 + 3) / 4 * 4;
    std::vector<unsigned char> bytes = {'B', 'M'};
    PutLittleEndian(bytes, 54 + stride * height, 4);
    PutLittleEndian(bytes, 0, 4);
    PutLittleEndian(bytes, 54, 4);
    for (uint32_t field : {40u, uint32_t(width), uint32_t(height)}) PutLittleEndian(bytes, field, 4);
    PutLittleEndian(bytes, 1, 2);
    PutLittleEndian(bytes, 24, 2);
    for (int field = 0; field < 6; ++field) PutLittleEndian(bytes, 0, 4);
    for (int row = height - 1; row >= 0; --row) {
        for (int x = 0; x < width; ++x) {
            Rgb colour = colourAt(x, row);
            bytes.insert(bytes.end(), {colour.b, colour.g, colour.r});
        }
        bytes.resize(bytes.size() + (stride - width * 3), 0);
    }
    return bytes;
}

// Every pixel of the 64 x 32 strip differs; one pixel of frame 5 has the sprite colour key.
Rgb StripColour(int x, int y) {
    if (x == 20 && y == 18) return Rgb{255, 0, 128};
    return Rgb{static_cast<uint8_t>(x * 4 + 1), static_cast<uint8_t>(y * 8 + 1), static_cast<uint8_t>(x ^ y)};
}

class GlCommandsTest : public GlWindowTest {
protected:
    ScopedTempDir dir_;
};

TEST_F(GlCommandsTest, StripFrameIsDrawnAtTheCeilingOfItsPositionPixelForPixel) {
    std::string strip = dir_.File("strip.bmp");
    WriteFileBytes(strip, Bmp24(64, 32, StripColour));
    ASSERT_EQ(LoadAnimStrip(strip.c_str(), kStripId, 16, 16), 1.0);

    DrawAnimFrame(kStripId, 5, 10.2, 20);  // frame 5: column 1, row 1 of four columns
    std::vector<uint8_t> frame = ReadFrame();
    for (int dy = 0; dy < 16; ++dy)
        for (int dx = 0; dx < 16; ++dx) {
            Rgb expected = StripColour(16 + dx, 16 + dy);
            if (expected == (Rgb{255, 0, 128})) expected = Rgb{0, 0, 0};  // keyed out: not drawn
            ASSERT_EQ(PixelAt(frame, 320, 11 + dx, 20 + dy), expected) << "frame pixel " << dx << "," << dy;
        }
    EXPECT_EQ(PixelAt(frame, 320, 10, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 320, 27, 20), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(frame, 320, 11, 36), (Rgb{0, 0, 0}));
    FreeSprite(kStripId);
}

TEST_F(GlCommandsTest, TextLineInTheBuiltInFontShowsGlyphsAndOutlines) {
    LoadFont(dir_.File("no such font.bmp").c_str(), 3);
    PrintText("AB", 3.5, 100);
    std::vector<uint8_t> frame = ReadFrame();
    Picture font = BuiltInFontPicture();
    ASSERT_EQ(font.width, 128);
    int whitePixels = 0, outlinePixels = 0;
    for (int cell = 0; cell < 2; ++cell) {
        int code = 'A' + cell;
        int cellX = (code % 16) * 8, cellY = (code / 16) * 8;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const uint8_t* glyph = &font.rgba[((cellY + y) * 128 + cellX + x) * 4];
                Rgb expected = glyph[3] ? Rgb{glyph[0], glyph[1], glyph[2]} : Rgb{0, 0, 0};
                ASSERT_EQ(PixelAt(frame, 320, 4 + cell * 8 + x, 100 + y), expected) << char(code) << " " << x << "," << y;
                whitePixels += expected == (Rgb{255, 255, 255});
                outlinePixels += expected == (Rgb{8, 8, 8});
            }
    }
    EXPECT_GT(whitePixels, 10);
    EXPECT_GT(outlinePixels, 10);
    EXPECT_EQ(PixelAt(frame, 320, 20, 100), (Rgb{0, 0, 0}));
}

TEST_F(GlCommandsTest, ScreenshotHoldsTheFrameBeforeItIsShown) {
    LoadFont(dir_.File("no such font.bmp").c_str(), 0);
    PrintText("Hi", 0, 0);
    std::vector<uint8_t> frame = ReadFrame();
    std::string path = dir_.File("shot.png");
    std::string error;
    ASSERT_TRUE(SaveScreenshot(path, &error)) << error;
    Picture shot;
    ASSERT_TRUE(DecodePngFile(path, kNoColourKey, shot));
    ASSERT_EQ(shot.width, 320);
    ASSERT_EQ(shot.height, 240);
    int lit = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            ASSERT_EQ(PixelAt(shot.rgba, 320, x, y), PixelAt(frame, 320, x, y)) << x << "," << y;
            lit += !(PixelAt(frame, 320, x, y) == (Rgb{0, 0, 0}));
        }
    EXPECT_GT(lit, 20) << "the text should be in the picture";
}

}  // namespace
