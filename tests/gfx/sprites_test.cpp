// Sprite slots: loading into the table, strip frames and their texture coordinates, rounding of
// drawing positions, failed loads and out-of-table ids.
#include "gfx/sprites.h"

#include <png.h>

#include "gfx_fixture.h"
#include "picture_files.h"

namespace {

class Sprites : public GfxTest {
protected:
    // A picture of the given size, opaque grey, as a 24-bit BMP in the media directory.
    std::string WriteBmp(const std::string& name, int width, int height, uint32_t colour = 0x808080) {
        std::string path = MediaFile(name);
        WriteBytes(path, BmpBytes({width, height, 24, false, {}, std::vector<uint32_t>(width * height, colour)}));
        return path;
    }
    const RecordingRenderer::Draw& OnlyDraw() {
        EXPECT_EQ(renderer.draws.size(), 1u);
        return renderer.draws.back();
    }
};

TEST_F(Sprites, LoadedSlotHoldsPictureAndPowerOfTwoTextureSizes) {
    ASSERT_EQ(LoadSprite(WriteBmp("a.bmp", 20, 10).c_str(), 5), 1.0);
    const SpriteSlot* slot = FindSpriteSlot(5);
    EXPECT_EQ(slot->width, 20);
    EXPECT_EQ(slot->height, 10);
    EXPECT_EQ(slot->texWidth, 32);
    EXPECT_EQ(slot->texHeight, 16);
    EXPECT_EQ(slot->mipTexture, 0u);
    const RecordingRenderer::Texture* texture = renderer.FindTexture(slot->texture);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->filter, TextureFilter::Linear);
    SpriteSize size = GetSpriteSize(5);
    EXPECT_EQ(size.width, 20);
    EXPECT_EQ(size.height, 10);
}

TEST_F(Sprites, StripFrameFiveOf16By16On64By32) {
    ASSERT_EQ(LoadAnimStrip(WriteBmp("strip.bmp", 64, 32).c_str(), 3, 16, 16), 1.0);
    DrawAnimFrame(3, 5, 40, 50);
    const RecordingRenderer::Draw& draw = OnlyDraw();
    EXPECT_EQ(draw.tag.kind, DrawKind::AnimFrame);
    EXPECT_EQ(draw.tag.spriteId, 3);
    EXPECT_EQ(draw.tag.frame, 5);
    ASSERT_EQ(draw.corners.size(), 4u);
    // (X + w, Y), (X, Y), (X, Y + h), (X + w, Y + h) with u 0.25..0.5 and v 0..0.5.
    const QuadCorner expected[4] = {{56, 50, 0.5f, 0.5f}, {40, 50, 0.25f, 0.5f}, {40, 66, 0.25f, 0}, {56, 66, 0.5f, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(draw.corners[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].y, expected[i].y) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].u, expected[i].u) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].v, expected[i].v) << i;
    }
}

TEST_F(Sprites, FirstFrameSitsAtTheTopOfAPictureShorterThanItsTexture) {
    LoadAnimStrip(WriteBmp("tall.bmp", 16, 48).c_str(), 1, 16, 16);  // texture 16 x 64
    DrawAnimFrame(1, 0, 0, 0);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[0].v, 0.75f);   // top edge: picture row 0 = texture row 47
    EXPECT_FLOAT_EQ(OnlyDraw().corners[2].v, 0.5f);
}

TEST_F(Sprites, PositionsRoundUpToWholePixels) {
    LoadAnimStrip(WriteBmp("s.bmp", 16, 16).c_str(), 2, 16, 16);
    DrawAnimFrame(2, 0, 10.2, -3.7);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[1].x, 11);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[1].y, -3);
    EXPECT_FLOAT_EQ(OnlyDraw().tag.x, 11);
}

TEST_F(Sprites, FramesBeyondTheLastWrapIntoFurtherRows) {
    LoadAnimStrip(WriteBmp("s.bmp", 32, 16).c_str(), 2, 16, 16);
    DrawAnimFrame(2, 3, 0, 0);  // column 1, row 1: below the picture
    EXPECT_FLOAT_EQ(OnlyDraw().corners[1].u, 0.5f);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[2].v, -1.0f);
}

TEST_F(Sprites, SmoothingChoosesTheFilterUntilTheNext2DSetup) {
    LoadAnimStrip(WriteBmp("s.bmp", 16, 16).c_str(), 2, 16, 16);
    SetSmoothing(0);
    DrawAnimFrame(2, 0, 0, 0);
    EXPECT_EQ(renderer.draws.back().filter, TextureFilter::Nearest);
    Setup2D();
    DrawAnimFrame(2, 0, 0, 0);
    EXPECT_EQ(renderer.draws.back().filter, TextureFilter::Linear);
}

TEST_F(Sprites, NothingIsDrawnWithoutAWholeColumn) {
    LoadAnimStrip(WriteBmp("narrow.bmp", 8, 16).c_str(), 4, 16, 16);
    DrawAnimFrame(4, 0, 0, 0);
    LoadSprite(WriteBmp("plain.bmp", 16, 16).c_str(), 6);  // not a strip
    DrawAnimFrame(6, 0, 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(Sprites, FailedReloadEmptiesTheSlotButKeepsTheFrameSize) {
    LoadAnimStrip(WriteBmp("s.bmp", 32, 16).c_str(), 7, 16, 16);
    TextureId old = FindSpriteSlot(7)->texture;
    EXPECT_EQ(LoadAnimStrip(MediaFile("missing.png").c_str(), 7, 8, 8), 0.0);
    const SpriteSlot* slot = FindSpriteSlot(7);
    EXPECT_EQ(slot->texture, 0u);
    EXPECT_EQ(slot->width, 0);
    EXPECT_EQ(slot->texWidth, kEmptyTexSize);
    EXPECT_EQ(slot->frameWidth, 16);
    EXPECT_EQ(renderer.FindTexture(old), nullptr);
    DrawAnimFrame(7, 0, 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
}

TEST_F(Sprites, UndecodableFilesLeaveTheSlotEmpty) {
    std::string junk = MediaFile("junk.png");
    WriteBytes(junk, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    EXPECT_EQ(LoadSprite(junk.c_str(), 9), 0.0);
    EXPECT_EQ(GetSpriteSize(9).width, 0);
    EXPECT_TRUE(renderer.textures.empty());
}

TEST_F(Sprites, DefaultColourKeyClearsMagentaAndSetColourKeyChangesIt) {
    std::string path = WriteBmp("key.bmp", 1, 1, 0xFF0080);
    LoadSprite(path.c_str(), 1);
    EXPECT_EQ(renderer.FindTexture(FindSpriteSlot(1)->texture)->rgba[3], 0);
    SetColourKey(-1);
    LoadSprite(path.c_str(), 1);
    EXPECT_EQ(renderer.FindTexture(FindSpriteSlot(1)->texture)->rgba[3], 255);
}

TEST_F(Sprites, SpriteTexturesGetEdgeFillFontTexturesDoNot) {
    // A 3 x 3 picture: opaque centre, clear ring (magenta is keyed out).
    std::vector<uint32_t> pixels(9, 0xFF0080);
    pixels[4] = 0x204060;
    std::string path = MediaFile("ring.bmp");
    WriteBytes(path, BmpBytes({3, 3, 24, false, {}, pixels}));
    LoadSprite(path.c_str(), 1);
    LoadSprite(path.c_str(), kFirstFontSpriteId);  // still the sprite colour key
    const auto* sprite = renderer.FindTexture(FindSpriteSlot(1)->texture);
    const auto* font = renderer.FindTexture(FindSpriteSlot(kFirstFontSpriteId)->texture);
    // Texel (0, 0) neighbours the opaque centre at texture (1, 1).
    EXPECT_EQ(PixelAt(sprite->rgba, 4, 0, 0), Rgba(0x20, 0x40, 0x60, 0));
    EXPECT_EQ(PixelAt(font->rgba, 4, 0, 0), 0u);
    EXPECT_EQ(font->filter, TextureFilter::Nearest);
}

TEST_F(Sprites, FreeSpriteReleasesTheTexture) {
    LoadSprite(WriteBmp("s.bmp", 4, 4).c_str(), 11);
    FreeSprite(11);
    EXPECT_EQ(FindSpriteSlot(11)->texture, 0u);
    EXPECT_EQ(GetSpriteSize(11).width, 0);
    EXPECT_TRUE(renderer.textures.empty());
}

TEST_F(Sprites, IdsOutsideTheTableAreIgnored) {
    std::string path = WriteBmp("s.bmp", 4, 4);
    EXPECT_EQ(LoadSprite(path.c_str(), 65536), 0.0);
    EXPECT_EQ(LoadSprite(path.c_str(), -1), 0.0);
    EXPECT_EQ(LoadSprite(path.c_str(), 1e300), 0.0);
    DrawAnimFrame(-5, 0, 0, 0);
    FreeSprite(70000);
    EXPECT_EQ(GetSpriteSize(-2).width, 0);
    EXPECT_TRUE(renderer.textures.empty());
    EXPECT_EQ(FindSpriteSlot(65536), nullptr);
}

TEST_F(Sprites, PngStripsLoadThroughTheSamePath) {
    std::string path = MediaFile("strip.png");
    WritePng(path, SimplePng(32, 16, PNG_COLOR_TYPE_RGB_ALPHA, 8, std::vector<uint8_t>(32 * 16 * 4, 200)));
    EXPECT_EQ(LoadAnimStrip(path.c_str(), 20, 16, 16), 1.0);
    EXPECT_EQ(FindSpriteSlot(20)->frameWidth, 16);
}

}  // namespace
