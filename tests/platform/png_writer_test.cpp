// Screenshots as PNG files: what is written reads back with the same pixels, failures leave nothing.
#include "platform/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <vector>

#include "tests/support/temp_files.h"

namespace {

struct ReadBack {
    int width = 0, height = 0, colourType = -1, bitDepth = 0;
    std::vector<unsigned char> rows;
};

ReadBack ReadPng(const std::string& path) {
    ReadBack result;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return result;
    result.width = image.width;
    result.height = image.height;
    image.format = PNG_FORMAT_RGB;
    result.rows.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, result.rows.data(), 0, nullptr)) result.rows.clear();
    return result;
}

std::vector<unsigned char> Gradient(int width, int height) {
    std::vector<unsigned char> rgba(width * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* pixel = &rgba[(y * width + x) * 4];
            pixel[0] = static_cast<unsigned char>(x);
            pixel[1] = static_cast<unsigned char>(y);
            pixel[2] = static_cast<unsigned char>(x ^ y);
            pixel[3] = static_cast<unsigned char>(y * 7);  // the frame's alpha means nothing
        }
    return rgba;
}

TEST(PngWriter, FrameReadsBackPixelForPixelTopRowFirst) {
    ScopedTempDir dir;
    std::vector<unsigned char> frame = Gradient(320, 240);
    std::string error;
    ASSERT_TRUE(WritePngFile(dir.File("shot.png"), frame.data(), 320, 240, &error)) << error;

    ReadBack png = ReadPng(dir.File("shot.png"));
    ASSERT_EQ(png.width, 320);
    ASSERT_EQ(png.height, 240);
    ASSERT_EQ(png.rows.size(), 320u * 240u * 3u);
    for (int pixel = 0; pixel < 320 * 240; ++pixel)
        for (int channel = 0; channel < 3; ++channel)
            ASSERT_EQ(png.rows[pixel * 3 + channel], frame[pixel * 4 + channel]) << "pixel " << pixel;
}

TEST(PngWriter, UnwritablePlaceFailsWithAReasonAndLeavesNoFile) {
    ScopedTempDir dir;
    std::vector<unsigned char> frame = Gradient(4, 4);
    std::string path = dir.File("missing/shot.png");
    std::string error;
    EXPECT_FALSE(WritePngFile(path, frame.data(), 4, 4, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_FALSE(FileExists(path));
}

TEST(PngWriter, EmptyPictureIsRefusedBeforeAnyFileIsMade) {
    ScopedTempDir dir;
    std::vector<unsigned char> frame = Gradient(4, 4);
    EXPECT_FALSE(WritePngFile(dir.File("a.png"), frame.data(), 0, 4));
    EXPECT_FALSE(WritePngFile(dir.File("b.png"), nullptr, 4, 4));
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
}

}  // namespace
