#include "core/program.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/run_program.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

TEST(ArgumentText, SkipsTheProgramNameQuotedOrNot) {
    EXPECT_EQ(ArgumentText("tumbrel"), "");
    EXPECT_EQ(ArgumentText("tumbrel -x  y "), "-x  y ");
    EXPECT_EQ(ArgumentText("  \ttumbrel\t arg"), "arg");
    EXPECT_EQ(ArgumentText("\"C:\\Program Files\\Tumbrel\\tumbrel.exe\"   level 3"), "level 3");
    EXPECT_EQ(ArgumentText("\"C:\\Games\\tum brel.exe\"arg"), "arg");
    EXPECT_EQ(ArgumentText("\"unterminated name"), "");
    EXPECT_EQ(ArgumentText(""), "");
}

TEST(ArgumentText, RoundTripsTheProcessArguments) {
    const char* argv[] = {"/opt/my games/tumbrel", "--replay", "a b.txt", ""};
    std::string commandLine = CommandLineFromArguments(4, argv);
    EXPECT_EQ(commandLine, "\"/opt/my games/tumbrel\" --replay \"a b.txt\" \"\"");
    EXPECT_EQ(ArgumentText(commandLine), "--replay \"a b.txt\" \"\"");
    const char* bare[] = {"./tumbrel"};
    EXPECT_EQ(ArgumentText(CommandLineFromArguments(1, bare)), "");
}

TEST(ProgramDirectory, IsTheDirectoryOfTheRunningProgram) {
    std::string directory = ProgramDirectory();
    EXPECT_TRUE(std::filesystem::exists(directory + "/" + program_invocation_short_name));
    EXPECT_NE(directory.back(), '/');
}

// Records the order in which the frame calls the device steps.
std::vector<std::string> gCalls;
bool gWindowCreates = true;

DeviceSteps RecordingSteps() {
    DeviceSteps steps;
    steps.createWindow = [](const RuntimeSettings& s, const char* title) {
        gCalls.push_back("window " + std::to_string(s.width) + "x" + std::to_string(s.height) + " " + title);
        return gWindowCreates;
    };
    steps.createDevices = [] { gCalls.push_back("devices"); };
    steps.setupSurface = [](const RuntimeSettings& s) { gCalls.push_back("surface " + std::to_string(s.fullscreen)); };
    steps.openInputAndSound = [](const RuntimeSettings&) { gCalls.push_back("input+sound"); };
    steps.clearScreen = [] { gCalls.push_back("clear"); };
    steps.resetFrameClock = [] { gCalls.push_back("clock"); };
    steps.setup2D = [] { gCalls.push_back("2d"); };
    steps.showLoading = [] { gCalls.push_back("loading"); };
    steps.hideWindow = [] { gCalls.push_back("hide"); };
    steps.setupMouse = [](const RuntimeSettings&) { gCalls.push_back("mouse"); };
    steps.destroyWindow = [] { gCalls.push_back("~window"); };
    steps.shutdownInput = [] { gCalls.push_back("~input"); };
    steps.shutdownSound = [] { gCalls.push_back("~sound"); };
    return steps;
}

class ProgramFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        originalDirectory_ = std::filesystem::current_path();
        oldTmpDir_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        setenv("TMPDIR", tmp_.path().c_str(), 1);
        gCalls.clear();
        gWindowCreates = true;
        RegisterDeviceSteps(RecordingSteps());
    }
    void TearDown() override {
        RegisterDeviceSteps(DeviceSteps{});
        std::filesystem::current_path(originalDirectory_);
        if (oldTmpDir_.empty()) unsetenv("TMPDIR");
        else setenv("TMPDIR", oldTmpDir_.c_str(), 1);
        gSettings = RuntimeSettings{};
        ResetErrorState();
    }
    ScopedTempDir tmp_;
    std::filesystem::path originalDirectory_;
    std::string oldTmpDir_;
};

TEST_F(ProgramFrameTest, GameEntryStartsEverythingInOrderAndEndsWithStatus0) {
    WriteFileText(ErrorLogPath(), "left over\r\n");
    std::filesystem::current_path(tmp_.path());
    gSettings.width = 640;  // the game entry fixes its own settings
    static std::string seenDirectory;
    static std::string seenArguments;
    int status = CatchRuntimeExit([] {
        GameEntry("arguments", [] {
            seenDirectory = std::filesystem::current_path().string();
            seenArguments = gCommandLine;
            gCalls.push_back("game");
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"window 320x240 TumbrelDemo", "devices", "surface 1", "input+sound",
                                                "clear", "clock", "2d", "loading", "clock", "mouse", "game",
                                                "~window", "~input", "~sound"}));
    EXPECT_EQ(seenDirectory, ProgramDirectory()) << "the game runs in the program's directory";
    EXPECT_EQ(seenArguments, "arguments");
    EXPECT_EQ(gWindowTitle, "TumbrelDemo");
    EXPECT_FALSE(FileExists(ErrorLogPath())) << "a left-over error log is deleted at start";
    EXPECT_EQ(gSettings.framesPerSecond, 60);
    EXPECT_EQ(gSettings.keepForeground, 0);
    EXPECT_EQ(gSettings.samples, 0);
}

TEST_F(ProgramFrameTest, ARuntimeErrorStillRunsTheCleanUp) {
    int status = CatchRuntimeExit([] {
        GameEntry("", [] {
            gCalls.clear();
            RecordError(9);
            RuntimeErrorExit();
        });
    });
    EXPECT_EQ(status, 9);
    EXPECT_EQ(gCalls, (std::vector<std::string>{"~window", "~input", "~sound"}));
}

TEST_F(ProgramFrameTest, ShowMode0HidesTheWindow) {
    gSettings.showMode = 0;
    RuntimeInit("TumbrelDemo");
    EXPECT_NE(std::find(gCalls.begin(), gCalls.end(), "hide"), gCalls.end());
}

TEST_F(ProgramFrameTest, AWindowThatCannotBeCreatedStopsTheStartEarly) {
    gWindowCreates = false;
    WriteFileText(ErrorLogPath(), "left over\r\n");
    RuntimeInit("TumbrelDemo");
    EXPECT_EQ(gCalls, (std::vector<std::string>{"window 320x240 TumbrelDemo"}));
    EXPECT_TRUE(FileExists(ErrorLogPath()));
}

// The real programs, run as child processes.

TEST(RealProgram, TumbrelStartsAndEndsWithStatus0) {
    std::string program = BuildDirectory() + "/tumbrel";
    ASSERT_TRUE(FileExists(program)) << "build the tumbrel target first";
    ProgramRun run = RunProgram(program, {"--headless", "--frames", "30"}, "/", 120);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("Init OK"), std::string::npos);
}

TEST(RealProgram, TumbrelWithoutItsDataFilesEndsWithError3) {
    std::string program = BuildDirectory() + "/tumbrel";
    ASSERT_TRUE(FileExists(program)) << "build the tumbrel target first";
    ScopedTempDir lonely;
    std::filesystem::copy_file(program, lonely.File("tumbrel"));
    ProgramRun run = RunProgram(lonely.File("tumbrel"), {"--headless", "--frames", "30"}, "/", 120);
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_NE(run.err.find("tumbrel: runtime error 3: cannot read ./Maps/"), std::string::npos) << run.err;
}

std::string Probe() { return BuildDirectory() + "/tests/probe/error_probe"; }

TEST(RealProgram, AnIndexErrorEndsWithStatus9AndOneLine) {
    ProgramRun run = RunProgram(Probe(), {"index"});
    EXPECT_EQ(run.exitStatus, 9);
    EXPECT_EQ(run.err, "error_probe: runtime error 9: index 300 out of range\n");
}

TEST(RealProgram, AFileErrorNamesTheFile) {
    ProgramRun run = RunProgram(Probe(), {"file", "./Maps/Nothing.bin"});
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.err,
              "error_probe: runtime error 3: cannot read ./Maps/Nothing.bin (could not open it: No such file or directory)\n");
}

TEST(RealProgram, FilesAreFoundBesideTheProgramFromAnyDirectory) {
    std::string maps = BuildDirectory() + "/tests/probe/Maps";
    std::filesystem::create_directories(maps);
    WriteFileText(maps + "/probe.bin", "x");
    ProgramRun run = RunProgram(Probe(), {"cwd"}, "/");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    ProgramRun normal = RunProgram(Probe(), {}, "/");
    EXPECT_EQ(normal.exitStatus, 0);
    EXPECT_EQ(normal.err, "");
    EXPECT_EQ(normal.out, "Init OK\n");
}

}  // namespace
