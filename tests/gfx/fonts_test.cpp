// Fonts: slot selection, cell arithmetic for 8 and 16-row pictures, the built-in font, one draw
// per string, and the "Loading..." screen.
#include "gfx/fonts.h"

#include "gfx/frame.h"
#include "gfx/gfx_steps.h"
#include "gfx/sprites.h"
#include "gfx_fixture.h"
#include "picture_files.h"

namespace {

class Fonts : public GfxTest {
protected:
    std::string WriteFontBmp(const std::string& name, int width, int height) {
        std::string path = MediaFile(name);
        WriteBytes(path, BmpBytes({width, height, 24, false, {}, std::vector<uint32_t>(width * height, 0xFFFFFF)}));
        return path;
    }
};

TEST_F(Fonts, SetFontClampsToTheThirtyTwoSlots) {
    SetFont(40);
    EXPECT_EQ(CurrentFontSlot(), 31);
    SetFont(-3);
    EXPECT_EQ(CurrentFontSlot(), 0);
    SetFont(7.9);
    EXPECT_EQ(CurrentFontSlot(), 7);
}

TEST_F(Fonts, EightRowFontFoldsByte200OntoCode72) {
    LoadFont(WriteFontBmp("font.bmp", 128, 64).c_str(), 1);
    EXPECT_EQ(CurrentFontSlot(), 1);
    FontCellSize cell = GetFontSize();
    EXPECT_EQ(cell.width, 8);
    EXPECT_EQ(cell.height, 8);
    PrintText("\xC8", 0, 0);  // byte 200
    const RecordingRenderer::Draw& draw = renderer.draws.back();
    // Code 72: column 8, row 4 from the top = flipped row 3 of 8.
    EXPECT_FLOAT_EQ(draw.corners[0].u, 8 / 16.0f);
    EXPECT_FLOAT_EQ(draw.corners[0].v, 3 / 8.0f);
    EXPECT_FLOAT_EQ(draw.corners[3].v, 4 / 8.0f);
}

TEST_F(Fonts, SixteenRowFontHasAllByteCodes) {
    LoadFont(WriteFontBmp("big.bmp", 256, 257).c_str(), 2);  // w < h: 16 rows, texture 256 x 512
    FontCellSize cell = GetFontSize();
    EXPECT_EQ(cell.width, 16);
    EXPECT_EQ(cell.height, 16);
    PrintText("\xFF", 0, 0);
    const RecordingRenderer::Draw& draw = renderer.draws.back();
    float vStep = 257.0f / 512 / 16;
    EXPECT_FLOAT_EQ(draw.corners[0].u, 15 / 16.0f);
    EXPECT_FLOAT_EQ(draw.corners[0].v, 0);
    EXPECT_FLOAT_EQ(draw.corners[3].v, vStep);
}

TEST_F(Fonts, SquarePictureCountsAsEightRows) {
    LoadFont(WriteFontBmp("square.bmp", 256, 256).c_str(), 2);
    FontCellSize cell = GetFontSize();
    EXPECT_EQ(cell.width, 16);
    EXPECT_EQ(cell.height, 32);
}

TEST_F(Fonts, StringIsOneDrawOfAdjacentCellsFromTheRoundedPosition) {
    LoadFont(WriteFontBmp("font.bmp", 128, 64).c_str(), 0);
    PrintText("AB", 3.5, 9.1);
    ASSERT_EQ(renderer.draws.size(), 1u);
    const RecordingRenderer::Draw& draw = renderer.draws[0];
    EXPECT_EQ(draw.tag.kind, DrawKind::Text);
    EXPECT_EQ(draw.text, "AB");
    ASSERT_EQ(draw.corners.size(), 8u);
    // (X, Y + ch), (X + cw, Y + ch), (X + cw, Y), (X, Y) per cell.
    EXPECT_FLOAT_EQ(draw.corners[0].x, 4);
    EXPECT_FLOAT_EQ(draw.corners[0].y, 18);
    EXPECT_FLOAT_EQ(draw.corners[2].x, 12);
    EXPECT_FLOAT_EQ(draw.corners[2].y, 10);
    EXPECT_FLOAT_EQ(draw.corners[4].x, 12);
    EXPECT_FLOAT_EQ(draw.corners[6].x, 20);
}

TEST_F(Fonts, EmptyStringDrawsNothingAndEveryOtherByteDrawsACell) {
    LoadFont(WriteFontBmp("font.bmp", 128, 64).c_str(), 0);
    PrintText("", 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
    PrintText(" \n\x01", 0, 0);
    EXPECT_EQ(renderer.draws.back().corners.size(), 12u);
}

TEST_F(Fonts, NumbersPrintAsTheirRuntimeText) {
    LoadFont(MediaFile("missing.bmp").c_str(), 0);
    PrintNumber(-12.5, 0, 0);
    EXPECT_EQ(renderer.draws.back().text, "-12.5");
}

TEST_F(Fonts, FontPicturesKeyOutBlackNotMagenta) {
    std::string path = MediaFile("keyed.bmp");
    WriteBytes(path, BmpBytes({2, 1, 24, false, {}, {0x000000, 0xFF0080}}));
    LoadFont(path.c_str(), 3);
    const auto* texture = renderer.FindTexture(FindSpriteSlot(kFirstFontSpriteId + 3)->texture);
    EXPECT_EQ(PixelAt(texture->rgba, 2, 0, 0), 0u);
    EXPECT_EQ(PixelAt(texture->rgba, 2, 1, 0), Rgba(255, 0, 128, 255));
}

TEST_F(Fonts, MissingFileGivesTheBuiltInFont) {
    EXPECT_EQ(LoadFont(MediaFile("missing.bmp").c_str(), 4), 0.0);
    const SpriteSlot* slot = FindSpriteSlot(kFirstFontSpriteId + 4);
    EXPECT_EQ(slot->width, 128);
    EXPECT_EQ(slot->height, 64);
    EXPECT_EQ(slot->texWidth, 128);
    EXPECT_EQ(slot->texHeight, 64);
    EXPECT_EQ(renderer.FindTexture(slot->texture)->filter, TextureFilter::Nearest);
    EXPECT_EQ(GetFontSize().width, 8);
}

// The built-in "A" (code 65, cell column 1, row 4), drawn as '#' glyph, '+' outline, '.' clear.
TEST_F(Fonts, BuiltInLetterAIsWhiteWithADarkGreyOutline) {
    Picture font = BuiltInFontPicture();
    ASSERT_EQ(font.width, 128);
    ASSERT_EQ(font.height, 64);
    const char* expected[8] = {
        "..+++...",
        ".+###+..",
        ".+#+#+..",
        ".+###+..",
        ".+#+#+..",
        ".+#+#+..",
        "..+.+...",
        "........",
    };
    for (int y = 0; y < 8; ++y) {
        std::string row;
        for (int x = 0; x < 8; ++x) {
            uint32_t pixel = PixelAt(font.rgba, 128, 8 + x, 32 + y);
            row += pixel == Rgba(255, 255, 255, 255) ? '#' : pixel == Rgba(8, 8, 8, 255) ? '+' : pixel == 0 ? '.' : '?';
        }
        EXPECT_EQ(row, expected[y]) << "row " << y;
    }
}

TEST_F(Fonts, BuiltInFontLeavesControlCodesEmptyAndOutlinesStopBeforeColumn7) {
    Picture font = BuiltInFontPicture();
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 128; ++x) ASSERT_EQ(PixelAt(font.rgba, 128, x, y), 0u);
    }
    // Code 127 fills its glyph box; the pixel right of it (x 6) is outline, x 7 stays clear.
    EXPECT_EQ(PixelAt(font.rgba, 128, 15 * 8 + 6, 7 * 8 + 1), Rgba(8, 8, 8, 255));
    EXPECT_EQ(PixelAt(font.rgba, 128, 15 * 8 + 7, 7 * 8 + 1), 0u);
}

TEST_F(Fonts, PrintingWithANeverLoadedSlotDrawsNothing) {
    SetFont(9);
    PrintText("hello", 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(Fonts, LoadingScreenShowsCentredTextInFontZero) {
    SetFont(5);
    ShowLoadingScreen();
    EXPECT_EQ(CurrentFontSlot(), 0);
    ASSERT_EQ(renderer.presentCount, 1);
    ASSERT_EQ(renderer.presentedDraws.size(), 1u);
    const RecordingRenderer::Draw& text = renderer.presentedDraws[0];
    EXPECT_EQ(text.text, "Loading...");
    EXPECT_FLOAT_EQ(text.tag.x, 120);  // (320 - 10 x 8) / 2
    EXPECT_FLOAT_EQ(text.tag.y, 116);  // (240 - 8) / 2
}

TEST_F(Fonts, BuiltInTextPaintsExactPixels) {
    LoadFont(MediaFile("missing.bmp").c_str(), 0);
    PrintText("A", 100, 50);
    std::vector<uint8_t> frame;
    ASSERT_TRUE(GrabFrame(frame));
    EXPECT_EQ(PixelAt(frame, 320, 102, 51), Rgba(255, 255, 255, 255));  // top bar of the A
    EXPECT_EQ(PixelAt(frame, 320, 101, 51), Rgba(8, 8, 8, 255));        // outline left of it
    EXPECT_EQ(PixelAt(frame, 320, 100, 50), Rgba(0, 0, 0, 255));        // clear corner: background
}

}  // namespace
