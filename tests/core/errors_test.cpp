#include "core/errors.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/clock.h"
#include "core/program.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

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
