// The media writers against the runtime's own readers: what mediagen writes, the game loads.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/wav_reader.h"
#include "gfx/picture.h"
#include "image.h"
#include "tests/support/temp_files.h"
#include "wav_writer.h"

namespace {

// Every third pixel clear; the others differ from each other. `keyBlack`: true black is clear too.
Image TestPicture(int w, int h, bool keyBlack = false) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Rgba colour{uint8_t(x * 7), uint8_t(y * 11), uint8_t(x ^ y), 255};
            const bool black = colour.r == 0 && colour.g == 0 && colour.b == 0;
            image.at(x, y) = (x + y) % 3 == 0 || (keyBlack && black) ? Rgba{0, 0, 0, 0} : colour;
        }
    return image;
}

void ExpectSamePixels(const Image& image, const Picture& picture) {
    ASSERT_EQ(picture.width, image.width);
    ASSERT_EQ(picture.height, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint8_t* q = &picture.rgba[(size_t(y) * picture.width + x) * 4];
            ASSERT_EQ(Rgba({q[0], q[1], q[2], q[3]}), image.at(x, y)) << "pixel " << x << "," << y;
        }
}

}  // namespace

TEST(MediaWriters, PngKeepsSizeColoursAndTransparencyThroughTheGamesDecoderAndRefusesNothing) {
    ScopedTempDir dir;
    const Image strip = TestPicture(48, 16);  // three 16 x 16 frames
    std::string error;
    ASSERT_TRUE(WritePng(dir.File("strip.png"), strip, error)) << error;
    Picture decoded;
    ASSERT_TRUE(DecodePictureFile(dir.File("strip.png"), 0x8000FF, decoded));
    ExpectSamePixels(strip, decoded);

    EXPECT_FALSE(WritePng(dir.File("empty.png"), Image(), error));
    EXPECT_NE(error.find("empty"), std::string::npos);
    EXPECT_FALSE(WritePng(dir.File("no/such/dir/x.png"), TestPicture(2, 2), error));
    EXPECT_FALSE(error.empty());
}

TEST(MediaWriters, BmpIsRead24BitBottomUpWithBlackKeyedOutAsTheFontLoaderDoes) {
    ScopedTempDir dir;
    std::string error;
    ASSERT_TRUE(WriteBmp(dir.File("font.bmp"), TestPicture(13, 5), error)) << error;  // odd width: padded rows
    const std::vector<unsigned char> bytes = ReadFileBytes(dir.File("font.bmp"));
    ASSERT_EQ(bytes.size(), 54u + 5u * 40u);  // 24 bits a pixel, rows padded to 40 bytes
    Picture decoded;
    ASSERT_TRUE(DecodeBmp(bytes, 0, decoded));
    ExpectSamePixels(TestPicture(13, 5, true), decoded);
}

TEST(MediaWriters, WavHasTheOneLayoutTheSoundReaderAccepts) {
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
    const std::vector<uint8_t> wav = EncodeWav(samples, 22050);
    ASSERT_EQ(wav.size(), size_t(kWavHeaderBytes) + samples.size() * 2);
    WavSamples read;
    std::string reason;
    ASSERT_TRUE(ReadWav(wav.data(), wav.size(), read, reason)) << reason;
    EXPECT_EQ((std::vector<int>{read.format.channels, read.format.sampleRate, read.format.bitsPerSample}),
              (std::vector<int>{1, 22050, 16}));
    ASSERT_EQ(read.byteCount, samples.size() * 2);
    EXPECT_EQ(std::memcmp(read.bytes, wav.data() + kWavHeaderBytes, read.byteCount), 0);
}
