// The media writers against the runtime's own readers: what mediagen writes, the game loads.
#include <gtest/gtest.h>

#include <cstring>

#include "audio/wav_reader.h"
#include "gfx/picture.h"
#include "image.h"
#include "tests/support/temp_files.h"
#include "wav_writer.h"

namespace {

Image TestPicture(int w, int h) {
    Image image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.at(x, y) = (x + y) % 3 == 0 ? Rgba{} : Rgba{uint8_t(x * 7), uint8_t(y * 11), uint8_t(x ^ y), 255};
    return image;
}

void ExpectSamePixels(const Image& image, const Picture& picture, bool transparentIsBlack) {
    ASSERT_EQ(picture.width, image.width);
    ASSERT_EQ(picture.height, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            Rgba p = image.at(x, y);
            if (transparentIsBlack && p.a == 0) p = Rgba{0, 0, 0, 0};
            const uint8_t* q = &picture.rgba[(size_t(y) * picture.width + x) * 4];
            ASSERT_EQ(Rgba({q[0], q[1], q[2], q[3]}), p) << "pixel " << x << "," << y;
        }
}

}  // namespace

TEST(MediaWriters, PngKeepsSizeColoursAndTransparencyThroughTheGamesDecoder) {
    ScopedTempDir dir;
    Image strip = TestPicture(48, 16);  // three 16 x 16 frames
    std::string error;
    ASSERT_TRUE(WritePng(dir.File("strip.png"), strip, error)) << error;

    Picture decoded;
    ASSERT_TRUE(DecodePictureFile(dir.File("strip.png"), 0x8000FF, decoded));
    ExpectSamePixels(strip, decoded, false);
    EXPECT_EQ(decoded.width / 16, 3);
}

TEST(MediaWriters, PngRefusesToWriteNothingOrIntoAMissingDirectory) {
    ScopedTempDir dir;
    std::string error;
    EXPECT_FALSE(WritePng(dir.File("empty.png"), Image(), error));
    EXPECT_NE(error.find("empty"), std::string::npos);
    EXPECT_FALSE(WritePng(dir.File("no/such/dir/x.png"), TestPicture(2, 2), error));
    EXPECT_FALSE(error.empty());
}

TEST(MediaWriters, BmpIsRead24BitBottomUpWithBlackKeyedOutAsTheFontLoaderDoes) {
    ScopedTempDir dir;
    Image font = TestPicture(13, 5);  // odd width: rows need padding to four bytes
    std::string error;
    ASSERT_TRUE(WriteBmp(dir.File("font.bmp"), font, error)) << error;
    std::vector<unsigned char> bytes = ReadFileBytes(dir.File("font.bmp"));
    ASSERT_EQ(bytes.size(), 54u + 5u * 40u);
    EXPECT_EQ(bytes[28], 24);  // bits per pixel

    Picture decoded;
    ASSERT_TRUE(DecodeBmp(std::vector<uint8_t>(bytes.begin(), bytes.end()), 0, decoded));
    for (int y = 0; y < font.height; ++y)
        for (int x = 0; x < font.width; ++x) {
            Rgba& p = font.at(x, y);
            if (p.a != 0 && p.r == 0 && p.g == 0 && p.b == 0) p = Rgba{};  // true black is keyed too
        }
    ExpectSamePixels(font, decoded, true);
}

TEST(MediaWriters, WavHasTheOneLayoutTheSoundReaderAccepts) {
    std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768, 5};
    std::vector<uint8_t> wav = EncodeWav(samples, 22050);
    ASSERT_EQ(wav.size(), size_t(kWavHeaderBytes) + samples.size() * 2);
    EXPECT_EQ(std::memcmp(wav.data(), "RIFF", 4), 0);
    EXPECT_EQ(std::memcmp(wav.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(wav[16], 16);  // format chunk of exactly 16 bytes
    EXPECT_EQ(std::memcmp(wav.data() + 36, "data", 4), 0);

    WavSamples read;
    std::string reason;
    ASSERT_TRUE(ReadWav(wav.data(), wav.size(), read, reason)) << reason;
    EXPECT_EQ(read.format.channels, 1);
    EXPECT_EQ(read.format.sampleRate, 22050);
    EXPECT_EQ(read.format.bitsPerSample, 16);
    ASSERT_EQ(read.byteCount, samples.size() * 2);
    EXPECT_EQ(std::memcmp(read.bytes, wav.data() + kWavHeaderBytes, read.byteCount), 0);
}
