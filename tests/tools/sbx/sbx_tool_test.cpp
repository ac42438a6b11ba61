// The sbx command line: pack, list and extract round trips and its refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/run_program.h"
#include "tests/support/temp_files.h"

namespace {

class SbxToolTest : public ::testing::Test {
protected:
    // Runs the tool in the test directory; its output and messages together.
    ProgramRun Sbx(const std::vector<std::string>& arguments) {
        ProgramRun run = RunProgram(BuildDirectory() + "/sbx", arguments, dir_.path());
        run.out += run.err;
        return run;
    }
    ScopedTempDir dir_;
};

TEST_F(SbxToolTest, PackListExtractRoundTripInBothLayoutsWithPlainNamesTheRuntimeFinds) {
    std::string sound(20000, '\0');
    for (size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<char>((i * 7) ^ (i >> 5));
    mkdir(dir_.File("Media").c_str(), 0700);
    WriteFileText(dir_.File("Media/Bell.wav"), sound);
    WriteFileText(dir_.File("Sprites.png"), std::string(3000, 'p'));
    for (const char* layout : {"", "--from-end"}) {
        std::vector<std::string> pack = {"pack", "Media.sbx", "Media/Bell.wav", "Sprites.png"};
        if (*layout) pack.insert(pack.begin() + 1, layout);
        ASSERT_EQ(Sbx(pack).exitStatus, 0);
        const ProgramRun list = Sbx({"list", "Media.sbx"});
        ASSERT_EQ(list.exitStatus, 0) << list.out;
        for (const char* shown : {"Bell.wav", "20000", "3000"}) EXPECT_NE(list.out.find(shown), std::string::npos) << shown;
        EXPECT_EQ(list.out.find(" -") != std::string::npos, *layout != 0) << list.out;
        EXPECT_EQ(list.out.find("Media/"), std::string::npos) << "stored under plain names: " << list.out;
        ASSERT_EQ(Sbx({"extract", "Media.sbx", "Media/BELL.wav", "out.wav"}).exitStatus, 0);
        EXPECT_EQ(ReadFileText(dir_.File("out.wav")), sound);
    }
}

TEST_F(SbxToolTest, HelpAndRefusalsSayWhatWentWrong) {
    const ProgramRun help = Sbx({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("sbx pack"), std::string::npos);
    for (const auto& usage : std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"pack", "x.sbx"}})
        EXPECT_EQ(Sbx(usage).exitStatus, 2) << usage.size();
    const ProgramRun missing = Sbx({"pack", "x.sbx", "absent.png"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.out.find("absent.png"), std::string::npos);
    EXPECT_TRUE(ListDirectory(dir_.path()).empty()) << "no archive, no partial file";
    WriteFileText(dir_.File("a.png"), "1");
    mkdir(dir_.File("sub").c_str(), 0700);
    WriteFileText(dir_.File("sub/A.PNG"), "2");
    EXPECT_EQ(Sbx({"pack", "x.sbx", "a.png", "sub/A.PNG"}).exitStatus, 1);  // two entries of one name
    WriteFileText(dir_.File("junk.sbx"), "not an archive");
    const ProgramRun junk = Sbx({"list", "junk.sbx"});
    EXPECT_EQ(junk.exitStatus, 1);
    EXPECT_NE(junk.out.find("not an archive"), std::string::npos);
    ASSERT_EQ(Sbx({"pack", "x.sbx", "a.png"}).exitStatus, 0);
    EXPECT_EQ(Sbx({"extract", "x.sbx", "nothing.png"}).exitStatus, 1);
}

}  // namespace
