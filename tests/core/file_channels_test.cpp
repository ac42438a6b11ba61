// File channels: values written and read back, lines, the errors of misused channels; saves that
// replace the old file only when complete, and files saved as one that survive a kill at every
// step (the next start finds both old or both new, and nothing of ours left behind).
#include "core/file_channels.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/errors.h"
#include "core/save_group.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class FileChannelTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResetErrorState();
        CloseAllFileChannels();
    }
    std::string Path(const std::string& name) const { return dir_.File(name); }
    // Opens channel 1 for reading a file that holds `bytes`, named with a backslash as the game does.
    void OpenWith(const Bytes& bytes) {
        WriteFileBytes(Path("in.bin"), bytes);
        ASSERT_EQ(FileOpen(1, (dir_.path() + "\\in.bin").c_str(), 1), 1.0);
    }
    ScopedTempDir dir_;
};

TEST_F(FileChannelTest, ValuesAreWrittenLittleEndianWithTruncation) {
    RtStr name("ROCKFORD");
    const std::pair<std::function<void()>, Bytes> cases[] = {
        {[] { FileWriteLong(1, 65536); }, {0, 0, 1, 0}}, {[] { FileWriteLong(1, 3.9); }, {3, 0, 0, 0}},
        {[] { FileWriteLong(1, -2.5); }, {0xFE, 0xFF, 0xFF, 0xFF}}, {[] { FileWriteLong(1, 5e9); }, {0, 0, 0, 0x80}},
        {[] { FileWriteByte(1, 256); }, {0}}, {[] { FileWriteByte(1, 300); }, {44}},
        {[] { FileWriteByte(1, -1); }, {255}}, {[] { FileWriteByte(1, 40000); }, {0}},
        {[] { FileWriteWord(1, 70000); }, {0x70, 0x11}}, {[] { FileWriteWord(1, 5e9); }, {0, 0}},
        {[] { FileWriteDouble(1, 1.0); }, {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}}, {[] {}, {}},
        {[&] { FileWriteBytes(1, name.raw()); }, Text("ROCKFORD")},
        {[&] { FileWriteLine(1, name.raw()); }, Text("ROCKFORD\r\n")},
        {[] { FileWriteNumberLine(1, -0.5); }, Text("-0.5\r\n")}};
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(FileOpen(1, Path("out.bin").c_str(), 0), 1.0);
        cases[i].first();
        FileClose(1);
        EXPECT_EQ(ReadFileBytes(Path("out.bin")), cases[i].second) << "case " << i;
    }
}

TEST_F(FileChannelTest, ValuesReadBackLongsUnsignedStringsToTheFirstZeroAndReadingPastTheEndIsError3) {
    OpenWith({0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 200, 0, 0, 0, 0, 0, 0, 0xF0, 0xBF});
    double longValue, word, byte, number;
    FileReadLong(1, longValue);
    FileReadWord(1, word);
    FileReadByte(1, byte);
    EXPECT_EQ(FileEndOfFile(1), 0.0);
    FileReadDouble(1, number);
    EXPECT_EQ(FileEndOfFile(1), 1.0);
    EXPECT_EQ(std::vector<double>({longValue, word, byte, number}),
              std::vector<double>({4294967294.0, 65535, 200, -1}));
    EXPECT_RUNTIME_ERROR(FileReadByte(1, byte), 3);
    EXPECT_NE(gErrorState.detail.find("in.bin (file too short)"), std::string::npos) << gErrorState.detail;
    OpenWith({1, 2, 3});
    EXPECT_RUNTIME_ERROR(FileReadLong(1, longValue), 3);

    // Byte strings stop at the first zero.
    OpenWith(Text(std::string("AB\0CDEFG", 8)));
    RtStr s;
    FileReadBytes(1, s.raw(), 4);
    EXPECT_STREQ(s.c_str(), "AB");
    EXPECT_EQ(s.raw().length, 2u);
    FileReadBytes(1, s.raw(), 0);
    EXPECT_STREQ(s.c_str(), "");
    FileReadBytes(1, s.raw(), 3.9);
    EXPECT_STREQ(s.c_str(), "DEF");
    EXPECT_RUNTIME_ERROR(FileReadBytes(1, s.raw(), 1e12), 3);
    EXPECT_NO_RUNTIME_EXIT(FileReadBytes(9, s.raw(), -1)) << "no channel check for a count below 1";
}

TEST_F(FileChannelTest, LinesEndInLfOrCrLfArriveInPiecesOf1024AndTheLastNeedsNoEnd) {
    OpenWith(Text("first\r\nsecond\n\r\n" + std::string(200, 'x') + "\n" + std::string(1030, 'y') + "\n12.5\r\nlast"));
    RtStr line;
    std::vector<std::string> lines;
    for (int i = 0; i < 6; ++i) {
        FileReadLine(1, line.raw());
        lines.push_back(line.c_str());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", std::string(200, 'x'), std::string(1024, 'y'),
                                               std::string(6, 'y')}));
    double number = 0;
    FileReadNumberLine(1, number);
    EXPECT_EQ(number, 12.5);
    FileReadLine(1, line.raw());
    EXPECT_STREQ(line.c_str(), "last");
    EXPECT_EQ(FileEndOfFile(1), 1.0);
    EXPECT_RUNTIME_ERROR(FileReadLine(1, line.raw()), 3);
}

TEST_F(FileChannelTest, ChannelsOutsideZeroToSevenAreError7AndClosedOrWrongWayOnesError3) {
    double v = 0;
    RtStr s("x");
    const std::string missing = Path("missing.bin");
    EXPECT_RUNTIME_ERROR(FileOpen(8, missing.c_str(), 0), 7);
    EXPECT_RUNTIME_ERROR(FileOpen(-1, missing.c_str(), 1), 7);
    EXPECT_RUNTIME_ERROR(FileReadByte(-1, v), 7);
    EXPECT_RUNTIME_ERROR(FileWriteLine(8, s.raw()), 7);
    EXPECT_RUNTIME_ERROR(FileEndOfFile(std::nan("")), 7);
    EXPECT_RUNTIME_ERROR(FileReadLine(-1.5, s.raw()), 7);
    EXPECT_NO_RUNTIME_EXIT(FileClose(7.9)) << "7.9 is channel 7";
    EXPECT_EQ(FileOpen(1, missing.c_str(), 1), 0.0);
    EXPECT_RUNTIME_ERROR(FileReadByte(1, v), 3);
    EXPECT_EQ(gErrorState.detail, "cannot read " + missing + " (could not open it: No such file or directory)");
    EXPECT_RUNTIME_ERROR(FileWriteByte(3, 1), 3);
    EXPECT_EQ(gErrorState.detail, "cannot write file channel 3 (no open file)");
    OpenWith({1, 2});
    EXPECT_RUNTIME_ERROR(FileWriteByte(1, 1), 3) << "opened for reading";
    FileOpen(1, Path("new.bin").c_str(), 0);
    EXPECT_RUNTIME_ERROR(FileReadByte(1, v), 3) << "opened for writing";
    EXPECT_EQ(FileOpen(1, dir_.path().c_str(), 1), 0.0) << "a directory is not a data file";
    EXPECT_EQ(FileOpen(1, "", 1), 0.0);
}

// A save goes to a file beside the target that replaces it only when the save completes.
TEST_F(FileChannelTest, ASaveReplacesTheOldFileOnlyWhenItCompletes) {
    const std::string path = Path("Data.bin");
    const struct { const char* ending; int longs, status; void (*end)(); } saves[] = {
        {"closing the channel", 800, -1, [] { FileClose(1); }},
        {"the normal end", 800, 0, [] { EndProgram(); }},
        {"a runtime error", 800, 9, [] { RecordError(9); RuntimeErrorExit(); }},
        {"a full disk", 1200, 3, [] { FileClose(1); }}};
    // A file-size limit makes the disk "full" after 4000 bytes.
    struct rlimit saved, limited;
    getrlimit(RLIMIT_FSIZE, &saved);
    limited = saved;
    limited.rlim_cur = 4000;
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    for (const auto& save : saves) {
        WriteFileBytes(path, {9, 9, 9, 9});
        int status = CatchRuntimeExit([&] {
            FileOpen(1, path.c_str(), 0);
            for (int i = 0; i < save.longs; ++i) FileWriteLong(1, 1);
            EXPECT_EQ(ReadFileBytes(path), (Bytes{9, 9, 9, 9})) << save.ending;
            save.end();
        });
        EXPECT_EQ(status, save.status) << save.ending;
        EXPECT_EQ(ReadFileBytes(path).size(), save.status <= 0 ? 3200u : 4u) << save.ending;
        EXPECT_EQ(ListDirectory(dir_.path()).size(), 1u) << save.ending << ": no temporary file left behind";
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);
}

const std::vector<std::string> kNames = {"Name.bin", "Data.bin"};
int gKillAtStep = 0;
int gStepsSeen = 0;

void KillAtChosenStep() {
    if (++gStepsSeen == gKillAtStep) raise(SIGKILL);
}

void SaveText(const std::string& path, const char* text) {
    FileOpen(1, path.c_str(), 0);
    FileWriteBytes(1, RtStr(text).raw());
    FileClose(1);
}

// Runs the pair save in a child killed at step `step`; true when the child was killed.
bool SaveKilledAtStep(const ScopedTempDir& dir, int step) {
    pid_t child = fork();
    if (child == 0) {
        gKillAtStep = step;
        SetSaveStepObserver(KillAtChosenStep);
        BeginSaveGroup();
        SaveText(dir.File("Name.bin"), "new name");
        SaveText(dir.File("Data.bin"), "new data");
        CommitSaveGroup(dir.File("Commit.txt"));
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status);
}

TEST(SaveGroup, AKillAtAnyStepLeavesBothOldOrBothNewAndTheNextStartTidiesUp) {
    int kills = 0;
    for (int step = 1; step < 20; ++step) {
        ScopedTempDir dir;
        WriteFileText(dir.File("Name.bin"), "old name");
        WriteFileText(dir.File("Data.bin"), "old data");
        WriteFileText(dir.File("Notes.txt.tmp-abcdef"), "not ours");
        bool killed = SaveKilledAtStep(dir, step);
        kills += killed;
        bool markerWasInPlace = FileExists(dir.File("Commit.txt"));
        EXPECT_EQ(TidySaveFolder(dir.path(), "Commit.txt", kNames), "") << "step " << step;
        std::string name = ReadFileText(dir.File("Name.bin")), data = ReadFileText(dir.File("Data.bin"));
        EXPECT_EQ(name.substr(0, 4), data.substr(0, 4)) << "step " << step << ": " << name << " / " << data;
        if (markerWasInPlace || !killed) {
            EXPECT_EQ(name, "new name") << "step " << step;
        }
        EXPECT_EQ(ListDirectory(dir.path()), (std::vector<std::string>{"Data.bin", "Name.bin", "Notes.txt.tmp-abcdef"}))
            << "step " << step;
        if (!killed) break;
    }
    EXPECT_EQ(kills, 7) << "two files held, the marker written and put in place, two renames, the marker gone";
}

TEST(SaveGroup, AMarkerThatNamesAnythingElseIsRemovedAndChangesNothing) {
    const char* markers[] = {"", "Data.bin.tmp-abcdef ../Data.bin\n", "Other.tmp-abcdef Other\n",
                             "Data.bin.tmp-abc Data.bin\n", "Data.bin.tmp-abcdef Data.bin extra\n"};
    for (const char* marker : markers) {
        ScopedTempDir dir;
        WriteFileText(dir.File("Data.bin"), "old");
        WriteFileText(dir.File("Data.bin.tmp-abcdef"), "new");
        WriteFileText(dir.File("Commit.txt"), marker);
        EXPECT_NE(TidySaveFolder(dir.path(), "Commit.txt", kNames).find("ignored the damaged"), std::string::npos);
        EXPECT_EQ(ReadFileText(dir.File("Data.bin")), "old") << marker;
        EXPECT_EQ(ListDirectory(dir.path()), std::vector<std::string>{"Data.bin"}) << marker;
    }
}

}  // namespace
