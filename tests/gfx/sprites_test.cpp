// Sprite slots: loading into the table, strip frames and their texture coordinates, rounding of
// drawing positions, colour keys, failed loads and out-of-table ids; fonts: slot selection, cell
// arithmetic for 8 and 16-row pictures, the built-in font, one draw per string, "Loading...".
#include "gfx/sprites.h"

#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/gfx_steps.h"
#include "gfx_fixture.h"
#include "picture_files.h"

namespace {

class Sprites : public GfxTest {
protected:
    std::string WriteBmp(const std::string& name, int width, int height, uint32_t colour = 0x808080) {
        WriteFileBytes(MediaFile(name), SolidBmp(width, height, colour));
        return MediaFile(name);
    }
    const RecordingRenderer::Texture& TextureOf(int id) { return renderer.textures.at(FindSpriteSlot(id)->texture); }
};

// Corners (X + w, Y), (X, Y), (X, Y + h), (X + w, Y + h): a frame counts from the top left of
// the picture, and texture row 0 holds the picture's bottom row.
TEST_F(Sprites, StripFramesCountFromTheTopLeftAndDrawAtTheCeilingOfTheirPosition) {
    struct Case {
        int width, height, frame;
        double x, y;
        std::vector<float> corners;  // x, y, u, v of each
    } cases[] = {
        {64, 32, 6, 39.2, 50, {56, 50, 0.75f, 0.5f, 40, 50, 0.5f, 0.5f, 40, 66, 0.5f, 0, 56, 66, 0.75f, 0}},
        {16, 48, 0, 10.2, -3.7, {27, -3, 1, 0.75f, 11, -3, 0, 0.75f, 11, 13, 0, 0.5f, 27, 13, 1, 0.5f}},
        {32, 16, 3, 0, 0, {16, 0, 1, 0, 0, 0, 0.5f, 0, 0, 16, 0.5f, -1, 16, 16, 1, -1}},  // below the picture
    };
    for (const Case& c : cases) {
        renderer.draws.clear();
        ASSERT_EQ(LoadAnimStrip(WriteBmp("s.bmp", c.width, c.height).c_str(), 3, 16, 16), 1.0);
        DrawAnimFrame(3, c.frame, c.x, c.y);
        ASSERT_EQ(renderer.draws.size(), 1u);
        EXPECT_EQ(renderer.draws[0].tag.spriteId, 3);
        EXPECT_EQ(renderer.draws[0].tag.frame, c.frame);
        EXPECT_EQ(CornerValues(renderer.draws[0]), c.corners) << c.width << "x" << c.height;
    }
    EXPECT_EQ(GetSpriteSize(3).width, 32);
    EXPECT_EQ(FindSpriteSlot(3)->texWidth, 32);
    EXPECT_EQ(FindSpriteSlot(3)->texHeight, 16);
    SetSmoothing(0);
    DrawAnimFrame(3, 0, 0, 0);
    EXPECT_EQ(renderer.draws.back().filter, TextureFilter::Nearest);
    Setup2D();  // smoothing comes back with the next 2D setup
    DrawAnimFrame(3, 0, 0, 0);
    EXPECT_EQ(renderer.draws.back().filter, TextureFilter::Linear);
}

TEST_F(Sprites, MagentaIsClearSpritesGetEdgeFillFontsDoNotAndSetColourKeyChangesTheKey) {
    // A 3 x 3 picture: opaque centre, clear ring.
    std::vector<uint32_t> pixels(9, 0xFF0080);
    pixels[4] = 0x204060;
    WriteFileBytes(MediaFile("ring.bmp"), BmpBytes({3, 3, 24, false, {}, pixels}));
    LoadSprite(MediaFile("ring.bmp").c_str(), 1);
    LoadSprite(MediaFile("ring.bmp").c_str(), kFirstFontSpriteId);  // still the sprite colour key
    // Texel (0, 0) neighbours the opaque centre at texture (1, 1).
    EXPECT_EQ(PixelAt(TextureOf(1).rgba, 4, 0, 0), Rgba(0x20, 0x40, 0x60, 0));
    EXPECT_EQ(PixelAt(TextureOf(kFirstFontSpriteId).rgba, 4, 0, 0), 0u);
    EXPECT_EQ(TextureOf(1).filter, TextureFilter::Linear);
    EXPECT_EQ(TextureOf(kFirstFontSpriteId).filter, TextureFilter::Nearest);
    SetColourKey(-1);
    LoadSprite(MediaFile("ring.bmp").c_str(), 1);
    EXPECT_EQ(PixelAt(TextureOf(1).rgba, 4, 0, 0), Rgba(255, 0, 128, 255));
}

TEST_F(Sprites, FailedLoadsEmptyTheSlotIdsOutsideTheTableAreRefusedAndNothingIsDrawnWithoutAWholeColumn) {
    LoadAnimStrip(WriteBmp("s.bmp", 32, 16).c_str(), 7, 16, 16);
    const TextureId old = FindSpriteSlot(7)->texture;
    WriteFileBytes(MediaFile("junk.png"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    EXPECT_EQ(LoadAnimStrip(MediaFile("missing.png").c_str(), 7, 8, 8), 0.0);
    const SpriteSlot* slot = FindSpriteSlot(7);
    EXPECT_EQ(slot->width, 0);
    EXPECT_EQ(slot->texWidth, kEmptyTexSize);
    EXPECT_EQ(slot->frameWidth, 16) << "the frame size is kept";
    EXPECT_EQ(renderer.textures.count(old), 0u);
    EXPECT_EQ(LoadSprite(MediaFile("junk.png").c_str(), 9), 0.0);
    LoadAnimStrip(WriteBmp("narrow.bmp", 8, 16).c_str(), 4, 16, 16);
    LoadSprite(WriteBmp("plain.bmp", 16, 16).c_str(), 6);  // not a strip
    for (int id : {7, 4, 6, -5, 65536}) DrawAnimFrame(id, 0, 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
    for (double id : {65536.0, -1.0, 1e300}) EXPECT_EQ(LoadSprite(MediaFile("plain.bmp").c_str(), id), 0.0) << id;
}

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
