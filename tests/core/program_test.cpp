// The program frame: the argument text, the start-up steps in their order, the clean-up at every
// end, the exit status and the error log, and a small program on the real frame.
#include "core/program.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/errors.h"
#include "tests/support/run_program.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

using Calls = std::vector<std::string>;

TEST(ArgumentText, SkipsTheProgramNameQuotedOrNot) {
    const std::pair<const char*, const char*> cases[] = {
        {"tumbrel", ""}, {"tumbrel -x  y ", "-x  y "}, {"  \ttumbrel\t arg", "arg"}, {"\"unterminated name", ""},
        {"\"C:\\Program Files\\Tumbrel\\tumbrel.exe\"   level 3", "level 3"}, {"\"C:\\tum brel.exe\"arg", "arg"},
        {"", ""}};
    for (const auto& [commandLine, arguments] : cases) EXPECT_EQ(ArgumentText(commandLine), arguments) << commandLine;

    const char* argv[] = {"/opt/my games/tumbrel", "--replay", "a b.txt", ""};
    std::string commandLine = CommandLineFromArguments(4, argv);
    EXPECT_EQ(commandLine, "\"/opt/my games/tumbrel\" --replay \"a b.txt\" \"\"");
    EXPECT_EQ(ArgumentText(commandLine), "--replay \"a b.txt\" \"\"");
}

// Records the order in which the frame calls the device steps.
Calls gCalls;
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
        gCalls.clear();
        gWindowCreates = true;
        RegisterDeviceSteps(RecordingSteps());
        WriteFileText(ErrorLogPath(), "left over\r\n");
    }
    void TearDown() override {
        RegisterDeviceSteps(DeviceSteps{});
        std::filesystem::current_path(originalDirectory_);
        gSettings = RuntimeSettings{};
        ResetErrorState();
    }
    ScopedTempDir tmp_;
    ScopedEnv tmpDir_{"TMPDIR", tmp_.path()};
    std::filesystem::path originalDirectory_ = std::filesystem::current_path();
};

TEST_F(ProgramFrameTest, GameEntryStartsEverythingInOrderAndCleansUpAtEveryEnd) {
    std::filesystem::current_path(tmp_.path());
    gSettings.width = 640;  // the game entry fixes its own settings
    static std::string seenDirectory, seenArguments;
    int status = CatchRuntimeExit([] {
        GameEntry("arguments", [] {
            seenDirectory = std::filesystem::current_path().string();
            seenArguments = gCommandLine;
            gCalls.push_back("game");
        });
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(gCalls, (Calls{"window 320x240 TumbrelDemo", "devices", "surface 1", "input+sound", "clear", "clock",
                             "2d", "loading", "clock", "mouse", "game", "~window", "~input", "~sound"}));
    EXPECT_EQ(seenDirectory, ProgramDirectory()) << "the game runs in the program's directory";
    EXPECT_EQ(seenArguments, "arguments");
    EXPECT_FALSE(FileExists(ErrorLogPath())) << "a left-over error log is deleted at start";
    status = CatchRuntimeExit([] {
        GameEntry("", [] {
            gCalls.clear();
            RecordError(9);
            RuntimeErrorExit();
        });
    });
    EXPECT_EQ(status, 9);
    EXPECT_EQ(gCalls, (Calls{"~window", "~input", "~sound"})) << "a runtime error still runs the clean-up";
}

TEST_F(ProgramFrameTest, ShowMode0HidesTheWindowAndAMissingWindowStopsTheStart) {
    gSettings.showMode = 0;
    RuntimeInit("TumbrelDemo");
    EXPECT_NE(std::find(gCalls.begin(), gCalls.end(), "hide"), gCalls.end());

    gCalls.clear();
    gWindowCreates = false;
    WriteFileText(ErrorLogPath(), "left over\r\n");
    RuntimeInit("TumbrelDemo");
    EXPECT_EQ(gCalls, (Calls{"window 320x240 TumbrelDemo"}));
    EXPECT_TRUE(FileExists(ErrorLogPath()));
}

// A small program on the real frame, run as a child process.
TEST(RealProgram, FindsItsFilesFromAnyDirectoryAndEndsAnIndexErrorWithStatus9AndOneLine) {
    std::filesystem::create_directories(BuildDirectory() + "/tests/probe/Maps");
    WriteFileText(BuildDirectory() + "/tests/probe/Maps/probe.bin", "x");
    ProgramRun run = RunProgram(BuildDirectory() + "/tests/probe/error_probe", {}, "/");
    EXPECT_EQ(run.exitStatus, 9);
    EXPECT_EQ(run.out, "Init OK\n");
    EXPECT_EQ(run.err, "error_probe: runtime error 9: index 300 out of range\n");
}

// The error log in a private TMPDIR, on a clock that moves only when the code sleeps.
class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override { manual_clock::Install(); }
    void TearDown() override {
        manual_clock::Uninstall();
        gSettings = RuntimeSettings{};
        ResetErrorState();
    }
    ScopedTempDir dir_;
    ScopedEnv tmp_{"TMPDIR", dir_.path()};
};

TEST_F(ErrorLogTest, TheExitStatusIsTheErrorNumberAndZeroOnlyForANormalEnd) {
    EXPECT_EQ(CatchRuntimeExit([] { EndProgram(); }), 0);
    for (int number : {9, 256, 300, -3}) {
        SetSourceLine(2, 40);
        EXPECT_EQ(CatchRuntimeExit([&] { RecordError(number); RuntimeErrorExit(); }), number == 9 ? 9 : 1)
            << number << " must not wrap to 0";
        EXPECT_EQ(gErrorState.line, 40);
    }
    RecordErrorDetail(3, "cannot read x");
    RecordError(7);
    EXPECT_TRUE(gErrorState.detail.empty()) << "a detail belongs to its own error only";
    EXPECT_FALSE(FileExists(ErrorLogPath()));
    gSettings.keepForeground = 1;  // then the report goes to the log
    SetSourceLine(4, 12);
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(9); RuntimeErrorExit(); }), 9);
    EXPECT_EQ(ReadFileText(ErrorLogPath()), "-End On Line\r\n9\r\n11\r\n12\r\n4\r\n");
}

TEST_F(ErrorLogTest, LinesAreAppendedWithCrLfToAPrivateFileInTmpDirElseTmp) {
    EXPECT_EQ(ErrorLogPath(), dir_.path() + "/ErrorLog.txt");
    AppendErrorLog("Loadbmp");
    AppendErrorLog("OK?");
    EXPECT_EQ(ReadFileText(ErrorLogPath()), "Loadbmp\r\nOK?\r\n");
    struct stat info;
    ASSERT_EQ(stat(ErrorLogPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    DeleteErrorLog();
    EXPECT_FALSE(FileExists(ErrorLogPath()));
    for (auto [tmp, directory] : {std::pair{"", "/tmp/"}, {"/var/tmp", "/var/tmp/"}}) {
        ScopedEnv other("TMPDIR", tmp);
        EXPECT_EQ(TempDirectory(), directory);
    }
}

TEST_F(ErrorLogTest, NeverFollowsAPlantedSymbolicLinkNorHangsOnAFifo) {
    std::string victim = dir_.File("victim.txt");
    WriteFileText(victim, "precious");
    ASSERT_EQ(symlink(victim.c_str(), ErrorLogPath().c_str()), 0);
    double before = ClockNowMs();
    AppendErrorLog("failed");
    EXPECT_EQ(ReadFileText(victim), "precious");
    EXPECT_EQ(ClockNowMs() - before, 400) << "five attempts, 100 ms apart, then the line is dropped";
    ASSERT_EQ(unlink(ErrorLogPath().c_str()), 0);
    ASSERT_EQ(mkfifo(ErrorLogPath().c_str(), 0666), 0);
    AppendErrorLog("failed");  // must return
}

}  // namespace
