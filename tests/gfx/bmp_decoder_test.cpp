// The BMP decoder: every depth, both header sizes, palettes, the colour key, damaged files.
#include <gtest/gtest.h>

#include "gfx/picture.h"
#include "picture_files.h"

namespace {

constexpr uint32_t kNoKey = 0xFFFFFFFF;
constexpr uint32_t kMagenta = 0x8000FF;  // red 255, blue 128 as 0xBBGGRR

Picture Decode(const BmpSpec& spec, uint32_t key = kNoKey) {
    Picture picture;
    EXPECT_TRUE(DecodeBmp(BmpBytes(spec), key, picture));
    return picture;
}

bool Refuses(const std::vector<uint8_t>& bytes) {
    Picture picture;
    return !DecodeBmp(bytes, kNoKey, picture);
}

TEST(BmpDecoder, TrueColourDepthsTurnBottomUpRowsTopFirst) {
    for (int bits : {24, 32}) {
        BmpSpec spec{3, 2, bits, false, {}, {0xFF0000, 0x00FF00, 0x0000FF, 0x010203, 0xFFFFFF, 0x000000}};
        Picture picture = Decode(spec);
        ASSERT_EQ(picture.width, 3);
        ASSERT_EQ(picture.height, 2);
        EXPECT_EQ(PixelAt(picture.rgba, 3, 0, 0), Rgba(255, 0, 0, 255)) << bits;
        EXPECT_EQ(PixelAt(picture.rgba, 3, 2, 0), Rgba(0, 0, 255, 255)) << bits;
        EXPECT_EQ(PixelAt(picture.rgba, 3, 0, 1), Rgba(1, 2, 3, 255)) << bits;
    }
}

TEST(BmpDecoder, OneBitPixelsComeFromTheHighBitFirst) {
    BmpSpec spec{10, 1, 1, false, {0x000000, 0xFFFFFF}, {1, 0, 0, 0, 0, 0, 0, 1, 1, 0}};
    Picture picture = Decode(spec);
    EXPECT_EQ(PixelAt(picture.rgba, 10, 0, 0), Rgba(255, 255, 255, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 10, 1, 0), Rgba(0, 0, 0, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 10, 7, 0), Rgba(255, 255, 255, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 10, 8, 0), Rgba(255, 255, 255, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 10, 9, 0), Rgba(0, 0, 0, 255));
}

TEST(BmpDecoder, FourBitEvenPixelsUseTheHighNibbleOddPixelsTheLow) {
    std::vector<uint8_t> bytes = BmpBytes({3, 1, 4, false, {0x000000, 0x111111, 0x222222}, {0, 0, 0}});
    // One pixel byte 0x12 and one 0x20: pixel 0 = entry 1, pixel 1 = entry 2, pixel 2 = entry 2.
    size_t pixelStart = bytes.size() - 4;
    bytes[pixelStart] = 0x12;
    bytes[pixelStart + 1] = 0x20;
    Picture picture;
    ASSERT_TRUE(DecodeBmp(bytes, kNoKey, picture));
    EXPECT_EQ(PixelAt(picture.rgba, 3, 0, 0), Rgba(0x11, 0x11, 0x11, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 3, 1, 0), Rgba(0x22, 0x22, 0x22, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 3, 2, 0), Rgba(0x22, 0x22, 0x22, 255));
}

TEST(BmpDecoder, EightBitPaletteInBothHeaderSizes) {
    std::vector<uint32_t> palette(256, 0);
    palette[7] = 0x123456;
    palette[255] = 0xABCDEF;
    for (bool core : {false, true}) {
        Picture picture = Decode({2, 2, 8, core, palette, {7, 255, 255, 7}});
        EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0x12, 0x34, 0x56, 255)) << core;
        EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(0xAB, 0xCD, 0xEF, 255)) << core;
        EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 1), Rgba(0xAB, 0xCD, 0xEF, 255)) << core;
    }
}

TEST(BmpDecoder, CoreHeaderTrueColourHasNoPalette) {
    Picture picture = Decode({1, 1, 24, true, {}, {0x405060}});
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(0x40, 0x50, 0x60, 255));
}

TEST(BmpDecoder, NegativeHeightStoresRowsTopFirst) {
    Picture picture = Decode({1, -2, 24, false, {}, {0xFF0000, 0x0000FF}});
    ASSERT_EQ(picture.height, 2);
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 0), Rgba(255, 0, 0, 255));
    EXPECT_EQ(PixelAt(picture.rgba, 1, 0, 1), Rgba(0, 0, 255, 255));
}

TEST(BmpDecoder, ColourKeyMakesMatchingPixelsClear) {
    BmpSpec spec{2, 1, 24, false, {}, {0xFF0080, 0xFF0081}};
    Picture picture = Decode(spec, kMagenta);
    EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0, 0, 0, 0));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(255, 0, 0x81, 255));
    EXPECT_EQ(PixelAt(Decode(spec, kNoKey).rgba, 2, 0, 0), Rgba(255, 0, 128, 255));
}

TEST(BmpDecoder, ColourKeyAppliesToPaletteColoursToo) {
    Picture picture = Decode({2, 1, 8, false, {0x000000, 0xFF0080}, {1, 0}}, kMagenta);
    EXPECT_EQ(PixelAt(picture.rgba, 2, 0, 0), Rgba(0, 0, 0, 0));
    EXPECT_EQ(PixelAt(picture.rgba, 2, 1, 0), Rgba(0, 0, 0, 255));
}

TEST(BmpDecoder, PaletteIndexBeyondThePaletteIsRefused) {
    EXPECT_TRUE(Refuses(BmpBytes({2, 1, 8, false, {0x000000, 0xFFFFFF}, {1, 2}})));
    EXPECT_TRUE(Refuses(BmpBytes({2, 1, 4, false, {0x000000}, {0, 15}})));
}

TEST(BmpDecoder, IndexedPictureWithoutPaletteIsRefused) {
    EXPECT_TRUE(Refuses(BmpBytes({2, 1, 8, false, {}, {0, 0}})));
}

TEST(BmpDecoder, TruncatedFilesAreRefusedAtEveryLength) {
    std::vector<uint8_t> whole = BmpBytes({4, 3, 8, false, {0x000000, 0x112233}, std::vector<uint32_t>(12, 1)});
    ASSERT_FALSE(Refuses(whole));
    for (size_t length = 0; length < whole.size(); ++length) {
        std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
        EXPECT_TRUE(Refuses(cut)) << "cut at " << length;
    }
}

TEST(BmpDecoder, SizesThatWouldOverflowAreRefused) {
    std::vector<uint8_t> bytes = BmpBytes({1, 1, 32, false, {}, {0}});
    auto setU32 = [&](size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i) bytes[at + i] = value >> (8 * i) & 0xFF;
    };
    setU32(18, 0x40000000);  // width
    setU32(22, 0x40000000);  // height
    EXPECT_TRUE(Refuses(bytes));
    setU32(18, 0x80000000);  // a negative width
    setU32(22, 1);
    EXPECT_TRUE(Refuses(bytes));
    setU32(18, 1);
    setU32(22, 0x80000000);  // the most negative height
    EXPECT_TRUE(Refuses(bytes));
}

TEST(BmpDecoder, UnknownHeaderSizeDepthOrMagicIsRefused) {
    std::vector<uint8_t> good = BmpBytes({1, 1, 24, false, {}, {0}});
    std::vector<uint8_t> bad = good;
    bad[14] = 108;  // header size
    EXPECT_TRUE(Refuses(bad));
    bad = good;
    bad[28] = 16;  // bit count
    EXPECT_TRUE(Refuses(bad));
    bad = good;
    bad[1] = 'A';
    EXPECT_TRUE(Refuses(bad));
}

TEST(BmpDecoder, CoreHeaderTrueColourWithRoomForAPaletteIsRefusedNotOverread) {
    // With a 12-byte header a palette has 2^bits entries: far more than such a file holds.
    std::vector<uint8_t> bytes = BmpBytes({1, 1, 24, true, {}, {0}});
    bytes[10] = 60;  // pixel offset beyond 54
    bytes.resize(64, 0);
    EXPECT_TRUE(Refuses(bytes));
}

}  // namespace

namespace {

// Damaged copies of valid files of every kind: each is decoded or refused, never overread
// (the sanitizer build checks the reads).
TEST(BmpDecoder, RandomlyDamagedFilesNeverReadOutOfBounds) {
    std::vector<std::vector<uint8_t>> originals = {
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
        if (DecodeBmp(bytes, 0xFFFFFFFF, picture)) {
            ++decoded;
            ASSERT_EQ(picture.rgba.size(), static_cast<size_t>(picture.width) * picture.height * 4);
        }
    }
    EXPECT_GT(decoded, 0);
}

}  // namespace
