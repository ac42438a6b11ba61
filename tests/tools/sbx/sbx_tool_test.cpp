// The sbx command line: pack, list and extract round trips and its refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/media_archive_format.h"
#include "tests/support/temp_files.h"

namespace {

struct ToolRun {
    int status;
    std::string output;
};

class SbxToolTest : public ::testing::Test {
protected:
    // Runs the tool with the arguments; `files` are names in the test directory, quoted.
    ToolRun Sbx(const std::string& arguments, std::initializer_list<const char*> files = {}) {
        const char* buildDir = std::getenv("TUMBREL_BUILD_DIR");
        std::string command = std::string(buildDir != nullptr ? buildDir : ".") + "/sbx " + arguments;
        for (const char* file : files) command += " '" + dir_.File(file) + "'";
        ToolRun run{-1, ""};
        FILE* pipe = popen((command + " 2>&1").c_str(), "r");
        if (pipe == nullptr) return run;
        char buffer[4096];
        for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.output.append(buffer, got);
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }
    ScopedTempDir dir_;
};

TEST_F(SbxToolTest, PackListExtractRoundTripInBothLayouts) {
    std::string sound(20000, '\0');
    for (size_t i = 0; i < sound.size(); ++i) sound[i] = static_cast<char>((i * 7) ^ (i >> 5));
    WriteFileText(dir_.File("Bell.wav"), sound);
    WriteFileText(dir_.File("Sprites.png"), std::string(3000, 'p'));
    for (const std::string option : {"", "--from-end"}) {
        ASSERT_EQ(Sbx("pack " + option, {"Media.sbx", "Bell.wav", "Sprites.png"}).status, 0);
        const ToolRun list = Sbx("list", {"Media.sbx"});
        ASSERT_EQ(list.status, 0) << list.output;
        for (const char* shown : {"Bell.wav", "20000", "3000"}) EXPECT_NE(list.output.find(shown), std::string::npos) << shown;
        EXPECT_EQ(list.output.find(" -") != std::string::npos, !option.empty()) << list.output;
        ASSERT_EQ(Sbx("extract '" + dir_.File("Media.sbx") + "' Media/BELL.wav", {"out.wav"}).status, 0);
        EXPECT_EQ(ReadFileText(dir_.File("out.wav")), sound);
    }
}

TEST_F(SbxToolTest, StoresPlainFileNamesThatTheRuntimeReaderFinds) {
    mkdir(dir_.File("Media").c_str(), 0700);
    WriteFileText(dir_.File("Media/Gems.wav"), "gems");
    ASSERT_EQ(Sbx("pack", {"a.sbx", "Media/Gems.wav"}).status, 0);
    SbxReader reader;
    ASSERT_EQ(reader.Open(dir_.File("a.sbx")), SbxOpen::Ok);
    SbxEntry entry;
    ASSERT_TRUE(reader.NextEntry(entry));
    EXPECT_EQ(entry.name, "Gems.wav");
    EXPECT_FALSE(reader.NextEntry(entry));
}

TEST_F(SbxToolTest, HelpAndRefusalsSayWhatWentWrong) {
    const ToolRun help = Sbx("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("sbx pack"), std::string::npos);
    for (const char* usage : {"", "frobnicate"}) EXPECT_EQ(Sbx(usage).status, 2) << usage;
    EXPECT_EQ(Sbx("pack", {"x.sbx"}).status, 2);

    const ToolRun missing = Sbx("pack", {"x.sbx", "absent.png"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("absent.png"), std::string::npos);
    EXPECT_FALSE(FileExists(dir_.File("x.sbx")));
    EXPECT_FALSE(FileExists(dir_.File("x.sbx.partial")));

    WriteFileText(dir_.File("a.png"), "1");
    mkdir(dir_.File("sub").c_str(), 0700);
    WriteFileText(dir_.File("sub/A.PNG"), "2");
    EXPECT_EQ(Sbx("pack", {"x.sbx", "a.png", "sub/A.PNG"}).status, 1);  // two entries of one name

    WriteFileText(dir_.File("junk.sbx"), "not an archive");
    const ToolRun junk = Sbx("list", {"junk.sbx"});
    EXPECT_EQ(junk.status, 1);
    EXPECT_NE(junk.output.find("not an archive"), std::string::npos);
    ASSERT_EQ(Sbx("pack", {"x.sbx", "a.png"}).status, 0);
    EXPECT_EQ(Sbx("extract '" + dir_.File("x.sbx") + "' nothing.png").status, 1);
}

}  // namespace
