// Fonts: slot selection, cell arithmetic for 8 and 16-row pictures, the built-in font, one draw
// per string, and the "Loading..." screen.
#include "gfx/fonts.h"

#include "gfx/frame.h"
#include "gfx/gfx_steps.h"
#include "gfx/sprites.h"
#include "gfx_fixture.h"
#include "picture_files.h"

namespace {

using Fonts = GfxTest;

TEST_F(Fonts, CellsFollowThePictureShapeAndHighBytesFoldOnEightRowFonts) {
    struct Case {
        int width, height, cellWidth, cellHeight;
        const char* text;
        float u, vTop, vBottom;
    };
    const Case cases[] = {
        {128, 64, 8, 8, "\xC8", 8 / 16.0f, 3 / 8.0f, 4 / 8.0f},       // byte 200 folds onto code 72
        {256, 256, 16, 32, "\xC8", 8 / 16.0f, 3 / 8.0f, 4 / 8.0f},    // square counts as eight rows
        {256, 257, 16, 16, "\xFF", 15 / 16.0f, 0, 257.0f / 512 / 16},  // w < h: 16 rows, texture 256 x 512
    };
    for (const Case& c : cases) {
        const std::string path = MediaFile("font.bmp");
        WriteFileBytes(path, SolidBmp(c.width, c.height, 0xFFFFFF));
        LoadFont(path.c_str(), 1);
        EXPECT_EQ(GetFontSize().width, c.cellWidth) << c.width << "x" << c.height;
        EXPECT_EQ(GetFontSize().height, c.cellHeight) << c.width << "x" << c.height;
        PrintText(c.text, 0, 0);
        const RecordingRenderer::Draw& draw = renderer.draws.back();
        EXPECT_FLOAT_EQ(draw.corners[0].u, c.u) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(draw.corners[0].v, c.vTop) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(draw.corners[3].v, c.vBottom) << c.width << "x" << c.height;
    }
}

TEST_F(Fonts, AStringIsOneDrawOfAdjacentCellsFromTheRoundedPositionInTheCurrentSlot) {
    const double slots[][2] = {{40, 31}, {-3, 0}, {7.9, 7}};
    for (const auto& slot : slots) {
        SetFont(slot[0]);
        EXPECT_EQ(CurrentFontSlot(), slot[1]) << slot[0];
    }
    PrintText("never loaded", 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
    WriteFileBytes(MediaFile("font.bmp"), SolidBmp(128, 64, 0xFFFFFF));
    LoadFont(MediaFile("font.bmp").c_str(), 0);
    PrintText("", 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
    PrintText("AB", 3.5, 9.1);
    ASSERT_EQ(renderer.draws.size(), 1u);
    EXPECT_EQ(renderer.draws[0].tag.kind, DrawKind::Text);
    EXPECT_EQ(renderer.draws[0].text, "AB");
    // (X, Y + ch), (X + cw, Y + ch), (X + cw, Y), (X, Y) per cell; "A" and "B" in row 4, columns 1 and 2.
    EXPECT_EQ(CornerValues(renderer.draws[0]),
              (std::vector<float>{4, 18, 1 / 16.f, 3 / 8.f, 12, 18, 2 / 16.f, 3 / 8.f, 12, 10, 2 / 16.f, 4 / 8.f,
                                  4, 10, 1 / 16.f, 4 / 8.f, 12, 18, 2 / 16.f, 3 / 8.f, 20, 18, 3 / 16.f, 3 / 8.f,
                                  20, 10, 3 / 16.f, 4 / 8.f, 12, 10, 2 / 16.f, 4 / 8.f}));
    PrintText(" \n\x01", 0, 0);  // every byte draws a cell
    EXPECT_EQ(renderer.draws.back().corners.size(), 12u);
    PrintNumber(-12.5, 0, 0);
    EXPECT_EQ(renderer.draws.back().text, "-12.5");
}

TEST_F(Fonts, FontPicturesKeyOutBlackNotMagenta) {
    WriteFileBytes(MediaFile("keyed.bmp"), BmpBytes({2, 1, 24, false, {}, {0x000000, 0xFF0080}}));
    LoadFont(MediaFile("keyed.bmp").c_str(), 3);
    const std::vector<uint8_t>& rgba = renderer.textures.at(FindSpriteSlot(kFirstFontSpriteId + 3)->texture).rgba;
    EXPECT_EQ(PixelAt(rgba, 2, 0, 0), 0u);
    EXPECT_EQ(PixelAt(rgba, 2, 1, 0), Rgba(255, 0, 128, 255));
}

// The built-in "A" (code 65, cell column 1, row 4), drawn as '#' glyph, '+' outline, '.' clear.
TEST_F(Fonts, AMissingFileGivesTheBuiltInFontWhiteWithADarkOutlineStoppingBeforeColumn7) {
    EXPECT_EQ(LoadFont(MediaFile("missing.bmp").c_str(), 4), 0.0);
    EXPECT_EQ(GetFontSize().width, 8);
    const SpriteSlot* slot = FindSpriteSlot(kFirstFontSpriteId + 4);
    EXPECT_EQ(slot->width, 128);
    EXPECT_EQ(slot->height, 64);
    const std::vector<uint8_t>& rgba = renderer.textures.at(slot->texture).rgba;  // rows bottom-up
    const char* expected[8] = {"..+++...", ".+###+..", ".+#+#+..", ".+###+..",
                               ".+#+#+..", ".+#+#+..", "..+.+...", "........"};
    for (int y = 0; y < 8; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x) {
            uint32_t pixel = PixelAt(rgba, 128, 8 + x, 63 - 32 - y);
            row += pixel == Rgba(255, 255, 255, 255) ? '#' : pixel == Rgba(8, 8, 8, 255) ? '+' : pixel == 0 ? '.' : '?';
        }
        EXPECT_EQ(row, expected[y]) << "row " << y;
    }
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 128; ++x) ASSERT_EQ(PixelAt(rgba, 128, x, 63 - y), 0u) << "control codes stay empty";
    // Code 127 fills its glyph box; the pixel right of it (x 6) is outline, x 7 stays clear.
    EXPECT_EQ(PixelAt(rgba, 128, 15 * 8 + 6, 63 - 57), Rgba(8, 8, 8, 255));
    EXPECT_EQ(PixelAt(rgba, 128, 15 * 8 + 7, 63 - 57), 0u);
}

TEST_F(Fonts, LoadingScreenShowsCentredTextInFontZero) {
    SetFont(5);
    ShowLoadingScreen();
    EXPECT_EQ(CurrentFontSlot(), 0);
    ASSERT_EQ(renderer.presentedDraws.size(), 1u);
    const RecordingRenderer::Draw& text = renderer.presentedDraws[0];
    EXPECT_EQ(text.text, "Loading...");
    EXPECT_FLOAT_EQ(text.tag.x, 120);  // (320 - 10 x 8) / 2
    EXPECT_FLOAT_EQ(text.tag.y, 116);  // (240 - 8) / 2
}

}  // namespace
