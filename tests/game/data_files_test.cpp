// Where the save files live: the player's folder, made and filled from the shipped files only by
// a run that may save; the shipped files beside the program otherwise.
#include "game/data_files.h"

#include <gtest/gtest.h>

#include "tests/game/game_files.h"

namespace {

TEST(SaveFolder, XdgDataHomeWhenAbsoluteElseTheHomeFolder) {
    const struct {
        const char* xdg;
        const char* home;
        const char* folder;
    } cases[] = {{"/x/data", "/home/p", "/x/data/tumbrel"}, {"data", "/home/p", "/home/p/.local/share/tumbrel"},
                 {"", "/home/p", "/home/p/.local/share/tumbrel"}, {nullptr, "/h", "/h/.local/share/tumbrel"},
                 {nullptr, "", ""}, {nullptr, nullptr, ""}};
    for (const auto& c : cases) EXPECT_EQ(PlayerSaveFolder(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(unset)");
}

TEST(SaveFolder, IsFilledFromTheShippedFilesOnlyByARunThatMaySave) {
    MapsDirectory maps;
    const std::vector<std::string> names = {"LevC.bin", "Player.bin", "Name.bin", "Data.bin"};
    for (const std::string& name : names) maps.Write(name, std::vector<unsigned char>(8, name[0]));
    const std::string folder = maps.File("../home/share/tumbrel");
    UseSaveFolder(folder + "/");
    std::string error;

    ASSERT_TRUE(SetUpSaveFiles(false, error)) << error;
    EXPECT_FALSE(FileExists(folder)) << "a run that may not save changes nothing";
    EXPECT_STREQ(SaveFilePath(SaveFile::Scores), "./Maps/Data.bin");

    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_EQ(SaveFilePath(SaveFile::Scores), folder + "/Data.bin");
    EXPECT_EQ(ReadFileBytes(folder + "/Data.bin"), maps.Read("Data.bin"));
    WriteFileText(folder + "/Player.bin", "mine");
    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_EQ(ReadFileText(folder + "/Player.bin"), "mine") << "the player's own file is kept";

    WriteFileText(maps.File("../file"), "");
    UseSaveFolder(maps.File("../file/tumbrel"));
    EXPECT_FALSE(SetUpSaveFiles(true, error));
    EXPECT_NE(error.find("cannot create the save folder"), std::string::npos) << error;

    UseSaveFolder("");
    ASSERT_TRUE(SetUpSaveFiles(true, error)) << error;
    EXPECT_STREQ(SaveFilePath(SaveFile::Player), "./Maps/Player.bin") << "a writable Maps keeps the saves";
}

}  // namespace
