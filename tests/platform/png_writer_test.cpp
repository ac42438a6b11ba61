// Screenshots as PNG files: what is written reads back with the same pixels, failures leave nothing.
#include "platform/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <vector>

#include "tests/support/temp_files.h"

namespace {

// The file's pixels as RGB rows, top first; empty when libpng cannot read it.
std::vector<unsigned char> ReadPngRgb(const std::string& path, int& width, int& height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<unsigned char> rgb;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return rgb;
    width = image.width;
    height = image.height;
    image.format = PNG_FORMAT_RGB;
    rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) rgb.clear();
    return rgb;
}

std::vector<unsigned char> Gradient(int width, int height) {
    std::vector<unsigned char> rgba;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rgba.insert(rgba.end(), {(unsigned char)x, (unsigned char)y, (unsigned char)(x ^ y),
                                                                 (unsigned char)(y * 7) /* alpha means nothing */});
    return rgba;
}

TEST(PngWriter, FrameReadsBackPixelForPixelTopRowFirst) {
    ScopedTempDir dir;
    const std::vector<unsigned char> frame = Gradient(320, 240);
    std::string error;
    ASSERT_TRUE(WritePngFile(dir.File("shot.png"), frame.data(), 320, 240, &error)) << error;
    int width = 0, height = 0;
    const std::vector<unsigned char> rgb = ReadPngRgb(dir.File("shot.png"), width, height);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);
    ASSERT_EQ(rgb.size(), 320u * 240u * 3u);
    for (int pixel = 0; pixel < 320 * 240; ++pixel)
        for (int channel = 0; channel < 3; ++channel)
            ASSERT_EQ(rgb[pixel * 3 + channel], frame[pixel * 4 + channel]) << "pixel " << pixel;
}

TEST(PngWriter, UnwritablePlaceOrEmptyPictureFailsWithAReasonAndLeavesNoFile) {
    ScopedTempDir dir;
    const std::vector<unsigned char> frame = Gradient(4, 4);
    const std::string path = dir.File("missing/shot.png");
    std::string error;
    EXPECT_FALSE(WritePngFile(path, frame.data(), 4, 4, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_FALSE(WritePngFile(dir.File("a.png"), frame.data(), 0, 4));
    EXPECT_FALSE(WritePngFile(dir.File("b.png"), nullptr, 4, 4));
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
}

}  // namespace
