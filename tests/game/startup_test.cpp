// Start-up with the media the build made: every strip, sound and the font come out of
// Media.sbx into their slots; the slots the game leaves empty stay empty.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "audio/sound.h"
#include "core/media_archive.h"
#include "game/menu.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/sprites.h"
#include "tests/support/recording_renderer.h"
#include "tests/support/recording_sound_device.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"

namespace {

class ShippedMediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        archive_ = BuildDirectory() + "/Media.sbx";
        if (!FileExists(archive_)) GTEST_SKIP() << "the build made no Media.sbx";
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previousDirectory_ = here;
        // Only the archive: nothing loose can stand in for an entry.
        WriteFileBytes(dir_.File("Media.sbx"), ReadFileBytes(archive_));
        ASSERT_EQ(chdir(dir_.path().c_str()), 0);
        SetRenderBackend(&renderer_);
        CreateSoundSlots();
        SetSoundDevice(&sound_);
        CreateMediaArchiveSlots(dir_.path());
        SetMediaArchive("Media.sbx", "");
    }
    void TearDown() override {
        if (previousDirectory_.empty()) return;
        ReleaseMediaArchiveSlots();
        DestroySoundSlots();
        ResetSpriteTable();
        SetRenderBackend(nullptr);
        ASSERT_EQ(chdir(previousDirectory_.c_str()), 0);
    }

    std::string archive_;
    std::string previousDirectory_;
    ScopedTempDir dir_;
    RecordingRenderer renderer_;
    RecordingSoundDevice sound_;
};

TEST_F(ShippedMediaTest, EveryStripSoundAndTheFontLoadFromTheArchive) {
    LoadGameMedia();
    for (int slot = 1; slot <= 29; ++slot) {
        const SpriteSlot* sprite = FindSpriteSlot(slot);
        ASSERT_NE(sprite, nullptr);
        if (slot == 24 || slot == 25)
            EXPECT_EQ(sprite->texture, 0u) << "slot " << slot << " stays empty";
        else
            EXPECT_TRUE(sprite->texture != 0 && sprite->frameWidth == 16 && sprite->height == 16) << "strip slot " << slot;
    }
    // Strips with other than 64 frames: a frame for every cell code, the blinking wall, the cursor.
    const int frames[][2] = {{StripTiles, 44}, {StripBlink, 32}, {StripBugTurnR, 64}, {StripElec, 8}};
    for (const auto& strip : frames) EXPECT_EQ(FindSpriteSlot(strip[0])->width, strip[1] * 16) << strip[0];

    const SpriteSlot* font = FindSpriteSlot(kFirstFontSpriteId + 1);
    ASSERT_NE(font, nullptr);
    EXPECT_NE(font->texture, 0u) << "zFont.png, not the built-in font";
    EXPECT_GT(font->width, 128);
    for (int id = 1; id <= 26; ++id)
        EXPECT_EQ(PlaySound(id, 0, 1) >= 0, id <= 16 || id == 25 || id == 26) << "sound slot " << id;
}

}  // namespace
