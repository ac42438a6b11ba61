// The BMP decoder: every depth, both header sizes, palettes, the colour key, damaged files.
#include <gtest/gtest.h>

#include "gfx/picture.h"
#include "picture_files.h"

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

}  // namespace
