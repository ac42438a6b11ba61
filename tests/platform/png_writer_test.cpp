// Screenshots as PNG files (what is written reads back in the GL commands test): failures give a
// reason and leave nothing behind.
#include "platform/png_writer.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/temp_files.h"

namespace {

TEST(PngWriter, UnwritablePlaceOrEmptyPictureFailsWithAReasonAndLeavesNoFile) {
    ScopedTempDir dir;
    const std::vector<unsigned char> frame(4 * 4 * 4, 9);
    const std::string path = dir.File("missing/shot.png");
    std::string error;
    EXPECT_FALSE(WritePngFile(path, frame.data(), 4, 4, &error));
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_FALSE(WritePngFile(dir.File("a.png"), frame.data(), 0, 4));
    EXPECT_FALSE(WritePngFile(dir.File("b.png"), nullptr, 4, 4));
    EXPECT_TRUE(ListDirectory(dir.path()).empty());
}

}  // namespace
