// Sprite slots: loading into the table, strip frames and their texture coordinates, rounding of
// drawing positions, colour keys, failed loads and out-of-table ids.
#include "gfx/sprites.h"

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

}  // namespace
