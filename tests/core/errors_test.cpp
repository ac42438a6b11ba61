#include "core/errors.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/program.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

// Points TMPDIR at a private directory for one test.
class ErrorLogTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        hadTmpDir_ = old != nullptr;
        if (hadTmpDir_) oldTmpDir_ = old;
        setenv("TMPDIR", dir_.path().c_str(), 1);
        manual_clock::Install();
    }
    void TearDown() override {
        manual_clock::Uninstall();
        if (hadTmpDir_) setenv("TMPDIR", oldTmpDir_.c_str(), 1);
        else unsetenv("TMPDIR");
        gSettings = RuntimeSettings{};
        ResetErrorState();
    }
    ScopedTempDir dir_;
    bool hadTmpDir_ = false;
    std::string oldTmpDir_;
};

TEST(ErrorState, RecordErrorKeepsTheCurrentLine) {
    ResetErrorState();
    SetSourceLine(2, 40);
    EXPECT_EQ(RecordError(9), 9);
    EXPECT_EQ(gErrorState.number, 9);
    EXPECT_EQ(gErrorState.line, 40);
    EXPECT_EQ(gErrorState.currentModule, 2);
    RecordErrorDetail(3, "cannot read x");
    EXPECT_EQ(gErrorState.detail, "cannot read x");
    RecordError(7);
    EXPECT_TRUE(gErrorState.detail.empty()) << "a detail belongs to its own error only";
    ResetErrorState();
}

TEST(ErrorExit, StatusIsTheErrorNumberAndZeroForANormalEnd) {
    ResetErrorState();
    EXPECT_EQ(CatchRuntimeExit([] { EndProgram(); }), 0);
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(9); RuntimeErrorExit(); }), 9);
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(300); RuntimeErrorExit(); }), 1) << "must not wrap to 0";
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(-3); RuntimeErrorExit(); }), 1);
    EXPECT_EQ(CatchRuntimeExit([] {}), -1);
    ResetErrorState();
}

TEST(ErrorExit, TheStandardErrorLineNamesTheErrorAndItsFile) {
    EXPECT_EQ(RuntimeErrorLine("tumbrel", 9, ""), "tumbrel: runtime error 9: index out of range");
    EXPECT_EQ(RuntimeErrorLine("tumbrel", 3, "cannot read ./Maps/Data.bin (file too short)"),
              "tumbrel: runtime error 3: cannot read ./Maps/Data.bin (file too short)");
    EXPECT_EQ(RuntimeErrorLine("tumbrel", 42, ""), "tumbrel: runtime error 42: unknown error");
}

TEST_F(ErrorLogTest, LinesAreAppendedWithCarriageReturnLineFeed) {
    EXPECT_EQ(ErrorLogPath(), dir_.path() + "/ErrorLog.txt");
    AppendErrorLog("Loadbmp");
    AppendErrorLog("OK?");
    EXPECT_EQ(ReadFileText(ErrorLogPath()), "Loadbmp\r\nOK?\r\n");
    struct stat info;
    ASSERT_EQ(stat(ErrorLogPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "private to this user";
    DeleteErrorLog();
    EXPECT_FALSE(FileExists(ErrorLogPath()));
}

TEST_F(ErrorLogTest, NeverFollowsAPlantedSymbolicLink) {
    std::string victim = dir_.File("victim.txt");
    WriteFileText(victim, "precious");
    ASSERT_EQ(symlink(victim.c_str(), ErrorLogPath().c_str()), 0);
    double before = ClockNowMs();
    AppendErrorLog("failed");
    EXPECT_EQ(ReadFileText(victim), "precious");
    EXPECT_EQ(ClockNowMs() - before, 400) << "five attempts, 100 ms apart, then the line is dropped";
}

TEST_F(ErrorLogTest, RefusesAPlantedFifo) {
    ASSERT_EQ(mkfifo(ErrorLogPath().c_str(), 0666), 0);
    AppendErrorLog("failed");  // must neither hang nor write
    SUCCEED();
}

TEST_F(ErrorLogTest, TheErrorReportIsWrittenOnlyWithKeepForeground) {
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(9); RuntimeErrorExit(); }), 9);
    EXPECT_FALSE(FileExists(ErrorLogPath()));

    gSettings.keepForeground = 1;
    SetSourceLine(4, 12);
    EXPECT_EQ(CatchRuntimeExit([] { RecordError(9); RuntimeErrorExit(); }), 9);
    EXPECT_EQ(ReadFileText(ErrorLogPath()), "-End On Line\r\n9\r\n11\r\n12\r\n4\r\n");
}

TEST(TempDirectory, UsesTmpDirElseTmp) {
    const char* old = std::getenv("TMPDIR");
    std::string saved = old != nullptr ? old : "";
    setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(TempDirectory(), "/var/tmp/");
    setenv("TMPDIR", "", 1);
    EXPECT_EQ(TempDirectory(), "/tmp/");
    unsetenv("TMPDIR");
    EXPECT_EQ(TempDirectory(), "/tmp/");
    if (old != nullptr) setenv("TMPDIR", saved.c_str(), 1);
}

TEST(Clock, TheManualClockMovesOnlyWhenAdvanced) {
    manual_clock::Install(1000);
    EXPECT_EQ(ClockNowMs(), 1000);
    ClockSleepMs(16);
    manual_clock::Advance(4);
    EXPECT_EQ(ClockNowMs(), 1020);
    manual_clock::Uninstall();
    double a = ClockNowMs();
    ClockSleepMs(2);
    EXPECT_GE(ClockNowMs() - a, 2);
}

}  // namespace
