// Pictures: the BMP decoder (every depth, both header sizes, palettes, the colour key, damaged
// files), the PNG decoder (accepted layouts, the colour key on RGB only, refusals with their two
// lines on standard output) and textures (power-of-two sizes, rows bottom-up, edge fill).
#include <gtest/gtest.h>

#include "gfx/picture.h"
#include "picture_files.h"
#include "tests/support/run_program.h"

namespace {

constexpr uint32_t kNoKey = 0xFFFFFFFF;
constexpr uint32_t kMagenta = 0x8000FF;  // red 255, blue 128 as 0xBBGGRR

bool Refuses(const std::vector<uint8_t>& bytes) {
    Picture picture;
    return !DecodeBmp(bytes, kNoKey, picture);
}

std::vector<uint8_t> Patched(std::vector<uint8_t> bytes, size_t at, uint32_t value, int width = 4) {
    for (int i = 0; i < width; ++i) bytes[at + i] = value >> (8 * i) & 0xFF;
    return bytes;
}

TEST(BmpDecoder, EveryDepthAndHeaderSizeDecodesTopRowFirstWithTheColourKeyCleared) {
    std::vector<uint32_t> palette(256, 0);
    palette[7] = 0x123456;
    palette[255] = 0xFF0080;
    const std::vector<uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x010203, 0xFF0080, 0xFF0081};
    const BmpLayout layouts[] = {
        {3, 2, 24, false, {}, colours},
        {3, 2, 32, false, {}, colours},
        {1, 1, 24, true, {}, {0x405060}},
        {1, -2, 24, false, {}, {0xFF0000, 0x0000FF}},
        {10, 1, 1, false, {0x000000, 0xFFFFFF}, {1, 0, 0, 0, 0, 0, 0, 1, 1, 0}},  // high bit first
        {3, 1, 4, false, {0x000000, 0x111111, 0x222222}, {1, 2, 2}},             // high nibble first
        {2, 2, 8, false, palette, {7, 255, 255, 7}},
        {2, 2, 8, true, palette, {7, 255, 255, 7}},
    };
    for (uint32_t key : {kNoKey, kMagenta}) {
        for (const BmpLayout& layout : layouts) {
            std::vector<uint32_t> expected;
            for (uint32_t pixel : layout.pixels) {
                const uint32_t colour = layout.palette.empty() ? pixel : layout.palette[pixel];
                expected.push_back(key != kNoKey && colour == 0xFF0080 ? 0 : colour << 8 | 0xFF);
            }
            Picture picture;
            EXPECT_TRUE(DecodeBmp(BmpBytes(layout), key, picture));
            EXPECT_EQ(PixelsOf(picture), expected) << layout.bitCount << " bits, core header " << layout.coreHeader;
        }
    }
}

TEST(BmpDecoder, DamagedOrForeignFilesAreRefused) {
    const std::vector<uint8_t> good = BmpBytes({1, 1, 32, false, {}, {0}});
    // With a 12-byte header a palette has 2^bits entries: far more than such a file holds.
    std::vector<uint8_t> core = Patched(BmpBytes({1, 1, 24, true, {}, {0}}), 10, 60);
    core.resize(64, 0);
    const std::vector<uint8_t> refused[] = {
        BmpBytes({2, 1, 8, false, {0x000000, 0xFFFFFF}, {1, 2}}),  // an index beyond the palette
        BmpBytes({2, 1, 4, false, {0x000000}, {0, 15}}),
        BmpBytes({2, 1, 8, false, {}, {0, 0}}),                    // no palette at all
        Patched(Patched(good, 18, 0x40000000), 22, 0x40000000),     // sizes that would overflow
        Patched(good, 18, 0x80000000),                             // a negative width
        Patched(good, 22, 0x80000000),                             // the most negative height
        Patched(good, 14, 108), Patched(good, 28, 16, 2), Patched(good, 1, 'A', 1),  // header size, depth, magic
        core,
    };
    for (const std::vector<uint8_t>& bytes : refused) EXPECT_TRUE(Refuses(bytes)) << &bytes - refused;
    const std::vector<uint8_t> whole = BmpBytes({4, 3, 8, false, {0x000000, 0x112233}, std::vector<uint32_t>(12, 1)});
    ASSERT_FALSE(Refuses(whole));
    for (size_t length = 0; length < whole.size(); ++length) {
        EXPECT_TRUE(Refuses(std::vector<uint8_t>(whole.begin(), whole.begin() + length))) << "cut at " << length;
    }
}

// Damaged copies of valid files of every kind: each is decoded or refused, never overread
// (the sanitizer build checks the reads).
TEST(BmpDecoder, RandomlyDamagedFilesNeverReadOutOfBounds) {
    const std::vector<std::vector<uint8_t>> originals = {
        BmpBytes({5, 3, 1, false, {0x000000, 0xFFFFFF}, std::vector<uint32_t>(15, 1)}),
        BmpBytes({5, 3, 4, true, std::vector<uint32_t>(16, 0x123456), std::vector<uint32_t>(15, 9)}),
        BmpBytes({5, 3, 8, false, std::vector<uint32_t>(4, 0x654321), std::vector<uint32_t>(15, 3)}),
        BmpBytes({5, 3, 24, true, {}, std::vector<uint32_t>(15, 0xABCDEF)}),
        BmpBytes({5, -3, 32, false, {}, std::vector<uint32_t>(15, 0xABCDEF)}),
    };
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
    int decoded = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<uint8_t> bytes = originals[round % originals.size()];
        for (int flips = 1 + next() % 4; flips > 0; --flips) bytes[next() % bytes.size()] = next() & 0xFF;
        if (next() % 4 == 0) bytes.resize(next() % bytes.size());
        Picture picture;
        if (DecodeBmp(bytes, kNoKey, picture)) {
            ++decoded;
            ASSERT_EQ(picture.rgba.size(), static_cast<size_t>(picture.width) * picture.height * 4);
        }
    }
    EXPECT_GT(decoded, 0);
}

// Small PNG files as libpng writes them, one per layout (tests/gfx/pictures/).
std::string PictureFile(const std::string& name) { return SourceDirectory() + "/tests/gfx/pictures/" + name; }

// 8-bit RGB with a magenta pixel, RGBA, grey in 8 and 2 bits, a 4-bit palette with a clear and a
// magenta entry, an 8-bit palette, 16-bit RGB.
TEST(PngDecoder, EveryAcceptedLayoutBecomesRgbaAndOnlyRgbResultsAreKeyed) {
    const struct {
        const char* file;
        uint32_t key;
        std::vector<uint32_t> pixels;
    } cases[] = {
        {"rgb8.png", kMagenta, {0, 0x0A141EFF}},
        {"rgba8.png", kMagenta, {0xFF0080C8, 0x01020300}},
        {"grey8.png", 0, {0x000000FF, 0x4D4D4DFF}},
        {"grey2.png", kMagenta, {0x000000FF, 0x555555FF, 0xAAAAAAFF, 0xFFFFFFFF}},
        {"palette4-alpha.png", kMagenta, {0, 0xFF0080FF, 0x00FF00FF}},
        {"palette8.png", kMagenta, {0, 0x102030FF}},
        {"rgb16.png", kMagenta, {0xAB12FEFF}},
    };
    for (const auto& c : cases) {
        Picture picture;
        ASSERT_TRUE(DecodePngFile(PictureFile(c.file), c.key, picture)) << c.file;
        EXPECT_EQ(PixelsOf(picture), c.pixels) << c.file;
    }
}

// Grey with alpha, and grey with a transparent shade, are refused with two lines; a cut file, a
// GIF and a missing file quietly.
TEST(PngDecoder, RefusalsSayWhyOnlyForLayoutsTheDecoderCannotTake) {
    for (const char* name : {"grey-alpha8.png", "grey8-keyed.png", "rgb8-cut.png", "gif.png", "missing.png"}) {
        const std::string path = PictureFile(name);
        Picture picture;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(DecodePngFile(path, kMagenta, picture)) << path;
        const bool says = std::string(name).rfind("grey", 0) == 0;
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  says ? "File " + path + " has unsupported color type.\nTypes GRAY, RGB and RGB_ALPHA are supported.\n" : "");
    }
}

// A picture of 24-bit colours, top row first; magenta pixels come out clear.
Picture PictureOf(int width, int height, const std::vector<uint32_t>& pixels) {
    Picture picture;
    EXPECT_TRUE(DecodeBmp(BmpBytes({width, height, 24, false, {}, pixels}), kMagenta, picture));
    return picture;
}

uint32_t TexelAt(const TextureImage& image, int x, int row) { return PixelAt(image.rgba, image.texWidth, x, row); }

// A 20 x 10 picture pads to 32 x 16 with its top row in texture row 9; beyond the driver's limit
// the picture is cut.
TEST(TextureImage, SizesArePowersOfTwoFromTwoRowsTurnBottomUpAndPaddingIsClear) {
    const int sizes[][2] = {{1, 2}, {2, 2}, {3, 4}, {16, 16}, {17, 32}};
    for (const auto& size : sizes) EXPECT_EQ(PowerOfTwoFrom2(size[0]), size[1]) << size[0];
    std::vector<uint32_t> pixels(200, 0x323C46);
    std::fill_n(pixels.begin(), 20, 0xC83C46);  // the top row
    const Picture picture = PictureOf(20, 10, pixels);
    TextureImage image = BuildTextureImage(picture, 4096);
    ASSERT_EQ(image.texWidth, 32);
    ASSERT_EQ(image.texHeight, 16);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 32; ++x) {
            const uint32_t expected = row >= 10 || x >= 20 ? 0 : Rgba(row == 9 ? 200 : 50, 60, 70, 255);
            ASSERT_EQ(TexelAt(image, x, row), expected) << x << "," << row;
        }
    TextureImage clamped = BuildTextureImage(picture, 8);
    EXPECT_EQ(clamped.texWidth, 8);
    EXPECT_EQ(clamped.texHeight, 8);
    EXPECT_EQ(TexelAt(clamped, 7, 7), Rgba(200, 60, 70, 255));
}

TEST(TextureImage, EdgeFillGivesClearTexelsTheMeanOfOpaqueInnerNeighbours) {
    std::vector<uint32_t> pixels(16, 0xFF0080);
    pixels[2 * 4 + 1] = 0x640000;  // (1, 2): texture (1, 1)
    pixels[2 * 4 + 2] = 0x003300;  // (2, 2): texture (2, 1)
    pixels[3 * 4 + 0] = 0x0000FF;  // (0, 3): texture (0, 0), on the border: never a source
    TextureImage image = BuildTextureImage(PictureOf(4, 4, pixels), 4096);
    FillTransparentEdges(image);
    // (1, 2) touches both inner texels: (100 + 0) / 2, (0 + 51) / 2 truncated.
    EXPECT_EQ(TexelAt(image, 1, 2), Rgba(50, 25, 0, 0));
    // The only inner neighbour of (3, 3) is the clear (2, 2).
    EXPECT_EQ(TexelAt(image, 3, 3), Rgba(0, 0, 0, 0));
    EXPECT_EQ(TexelAt(image, 3, 1), Rgba(0, 51, 0, 0));
    // Opaque texels keep their colour, the border texel included.
    EXPECT_EQ(TexelAt(image, 0, 0), Rgba(0, 0, 255, 255));
    EXPECT_EQ(TexelAt(image, 1, 1), Rgba(100, 0, 0, 255));
    // (1, 0) sees (1, 1) and (2, 1) but not the border texel (0, 0).
    EXPECT_EQ(TexelAt(image, 1, 0), Rgba(50, 25, 0, 0));
}

}  // namespace
