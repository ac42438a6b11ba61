// The media the build made, read the way the game reads them: every strip frame, tile and font
// cell the game draws has something to see (the game's start-up test loads every strip, sound
// and font from Media.sbx and checks their sizes).
#include <gtest/gtest.h>

#include <cstdlib>

#include "gfx/picture.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"

namespace {

std::string Staged(const std::string& name) {
    const char* staging = std::getenv("TUMBREL_MEDIA_STAGING_DIR");
    return (staging ? std::string(staging) : BuildDirectory() + "/assets/staged-media") + "/" + name;
}

// Whether cell `index` of a picture cut into square cells of `size` pixels has a visible pixel.
bool CellHasInk(const Picture& picture, int size, int index) {
    const int columns = picture.width / size, left = index % columns * size, top = index / columns * size;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x)
            if (picture.rgba[(size_t(y) * picture.width + x) * 4 + 3] != 0) return true;
    return false;
}

}  // namespace

// Every strip holds at least the 16 frames the game draws from it (the cursor 8), each but the
// last with something to see; the tile set (some of its codes never drawn) draws every code the
// cave shows from it, and empty space (code 0) shows the background.
TEST(GeneratedMedia, EveryStripDecodesWithTheFramesTheGameDraws) {
    int strips = 0;
    for (const std::string& name : ListDirectory(Staged(""))) {
        if (name.size() < 4 || name.substr(name.size() - 4) != ".png" || name == "Menu.png" || name == "zFont.png") continue;
        SCOPED_TRACE(name);
        ++strips;
        Picture picture;
        ASSERT_TRUE(DecodePictureFile(Staged(name), 0x8000FF, picture));
        const int frames = picture.width / 16;
        EXPECT_GE(frames, name == "Elec.png" ? 8 : 16);
        for (int frame = 0; name != "Sprites.png" && frame + 1 < frames; ++frame) EXPECT_TRUE(CellHasInk(picture, 16, frame)) << frame;
        if (name != "Sprites.png") continue;
        for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 16, 17, 18}) EXPECT_TRUE(CellHasInk(picture, 16, code)) << code;
        EXPECT_FALSE(CellHasInk(picture, 16, 0));
    }
    EXPECT_EQ(strips, 27);
}

TEST(GeneratedMedia, MenuPictureAndFontsHaveTheirLayouts) {
    Picture menu, font, small;
    ASSERT_TRUE(DecodePictureFile(Staged("Menu.png"), 0xFFFFFFFF, menu));
    EXPECT_EQ(menu.width, 320);
    EXPECT_EQ(menu.height, 240);
    for (size_t i = 3; i < menu.rgba.size(); i += 4) ASSERT_EQ(menu.rgba[i], 255) << "the menu picture is opaque";
    ASSERT_TRUE(DecodePictureFile(Staged("zFont.png"), 0, font));
    EXPECT_EQ(font.width, 256);  // 16 x 8 cells of 16 x 16: codes 0..127
    EXPECT_EQ(font.height, 128);
    ASSERT_TRUE(DecodePictureFile(BuildDirectory() + "/smalfont.bmp", 0, small));
    EXPECT_EQ(small.width, 128);
    EXPECT_EQ(small.height, 64);
    for (char c : std::string("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789:.!abcdefghijklmnopqrstuvwxyz")) {
        EXPECT_TRUE(CellHasInk(font, 16, c)) << c;
        EXPECT_TRUE(CellHasInk(small, 8, c)) << c;
    }
    EXPECT_FALSE(CellHasInk(font, 16, ' '));
}
