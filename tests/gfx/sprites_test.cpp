// Sprite slots: loading into the table, strip frames and their texture coordinates, rounding of
// drawing positions, failed loads and out-of-table ids.
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
    const RecordingRenderer::Draw& OnlyDraw() {
        EXPECT_EQ(renderer.draws.size(), 1u);
        return renderer.draws.back();
    }
};

TEST_F(Sprites, LoadedSlotHoldsPictureAndPowerOfTwoTextureSizes) {
    ASSERT_EQ(LoadSprite(WriteBmp("a.bmp", 20, 10).c_str(), 5), 1.0);
    const SpriteSlot* slot = FindSpriteSlot(5);
    EXPECT_EQ(slot->texWidth, 32);
    EXPECT_EQ(slot->texHeight, 16);
    EXPECT_EQ(slot->mipTexture, 0u);
    EXPECT_EQ(renderer.FindTexture(slot->texture)->filter, TextureFilter::Linear);
    EXPECT_EQ(GetSpriteSize(5).width, 20);
    EXPECT_EQ(GetSpriteSize(5).height, 10);
}

TEST_F(Sprites, StripFrameFiveOf16By16On64By32AtTheCeilingOfItsPosition) {
    ASSERT_EQ(LoadAnimStrip(WriteBmp("strip.bmp", 64, 32).c_str(), 3, 16, 16), 1.0);
    DrawAnimFrame(3, 5, 39.2, 50);
    const RecordingRenderer::Draw& draw = OnlyDraw();
    EXPECT_EQ(draw.tag.kind, DrawKind::AnimFrame);
    EXPECT_EQ(draw.tag.spriteId, 3);
    EXPECT_EQ(draw.tag.frame, 5);
    EXPECT_FLOAT_EQ(draw.tag.x, 40);
    ASSERT_EQ(draw.corners.size(), 4u);
    // (X + w, Y), (X, Y), (X, Y + h), (X + w, Y + h) with u 0.25..0.5 and v 0..0.5.
    const QuadCorner expected[4] = {{56, 50, 0.5f, 0.5f}, {40, 50, 0.25f, 0.5f}, {40, 66, 0.25f, 0}, {56, 66, 0.5f, 0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(draw.corners[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].y, expected[i].y) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].u, expected[i].u) << i;
        EXPECT_FLOAT_EQ(draw.corners[i].v, expected[i].v) << i;
    }
    renderer.draws.clear();
    DrawAnimFrame(3, 0, 10.2, -3.7);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[1].x, 11);
    EXPECT_FLOAT_EQ(OnlyDraw().corners[1].y, -3);
}

TEST_F(Sprites, FramesCountFromTheTopOfThePictureAndWrapIntoFurtherRows) {
    struct Case {
        int width, height, frame;
        float uLeft, vTop, vBottom;
    };
    const Case cases[] = {
        {16, 48, 0, 0, 0.75f, 0.5f},  // texture 16 x 64: picture row 0 is texture row 47
        {32, 16, 3, 0.5f, 0, -1.0f},  // column 1, row 1: below the picture
    };
    for (const Case& c : cases) {
        renderer.draws.clear();
        LoadAnimStrip(WriteBmp("s.bmp", c.width, c.height).c_str(), 1, 16, 16);
        DrawAnimFrame(1, c.frame, 0, 0);
        EXPECT_FLOAT_EQ(OnlyDraw().corners[1].u, c.uLeft) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(OnlyDraw().corners[0].v, c.vTop) << c.width << "x" << c.height;
        EXPECT_FLOAT_EQ(OnlyDraw().corners[2].v, c.vBottom) << c.width << "x" << c.height;
    }
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
    const TextureId old = FindSpriteSlot(7)->texture;
    WriteFileBytes(MediaFile("junk.png"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    EXPECT_EQ(LoadAnimStrip(MediaFile("missing.png").c_str(), 7, 8, 8), 0.0);
    const SpriteSlot* slot = FindSpriteSlot(7);
    EXPECT_EQ(slot->texture, 0u);
    EXPECT_EQ(slot->width, 0);
    EXPECT_EQ(slot->texWidth, kEmptyTexSize);
    EXPECT_EQ(slot->frameWidth, 16);
    EXPECT_EQ(renderer.FindTexture(old), nullptr);
    DrawAnimFrame(7, 0, 0, 0);
    EXPECT_TRUE(renderer.draws.empty());
    EXPECT_EQ(LoadSprite(MediaFile("junk.png").c_str(), 9), 0.0);
    EXPECT_EQ(GetSpriteSize(9).width, 0);
    EXPECT_TRUE(renderer.textures.empty());
}

TEST_F(Sprites, DefaultColourKeyClearsMagentaAndSetColourKeyChangesIt) {
    const std::string path = WriteBmp("key.bmp", 1, 1, 0xFF0080);
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
    WriteFileBytes(MediaFile("ring.bmp"), BmpBytes({3, 3, 24, false, {}, pixels}));
    LoadSprite(MediaFile("ring.bmp").c_str(), 1);
    LoadSprite(MediaFile("ring.bmp").c_str(), kFirstFontSpriteId);  // still the sprite colour key
    const auto* sprite = renderer.FindTexture(FindSpriteSlot(1)->texture);
    const auto* font = renderer.FindTexture(FindSpriteSlot(kFirstFontSpriteId)->texture);
    // Texel (0, 0) neighbours the opaque centre at texture (1, 1).
    EXPECT_EQ(PixelAt(sprite->rgba, 4, 0, 0), Rgba(0x20, 0x40, 0x60, 0));
    EXPECT_EQ(PixelAt(font->rgba, 4, 0, 0), 0u);
    EXPECT_EQ(font->filter, TextureFilter::Nearest);
}

TEST_F(Sprites, FreeSpriteReleasesTheTextureAndIdsOutsideTheTableAreIgnored) {
    const std::string path = WriteBmp("s.bmp", 4, 4);
    LoadSprite(path.c_str(), 11);
    FreeSprite(11);
    EXPECT_EQ(FindSpriteSlot(11)->texture, 0u);
    EXPECT_EQ(GetSpriteSize(11).width, 0);
    for (double id : {65536.0, -1.0, 1e300}) EXPECT_EQ(LoadSprite(path.c_str(), id), 0.0) << id;
    DrawAnimFrame(-5, 0, 0, 0);
    FreeSprite(70000);
    EXPECT_EQ(GetSpriteSize(-2).width, 0);
    EXPECT_TRUE(renderer.textures.empty());
    EXPECT_EQ(FindSpriteSlot(65536), nullptr);
}

}  // namespace
