#include "core/file_channels.h"

#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/errors.h"
#include "tests/support/runtime_exit.h"
#include "tests/support/temp_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

class FileChannelTest : public ::testing::Test {
protected:
    void TearDown() override {
        ResetErrorState();
        CloseAllFileChannels();
    }
    std::string Path(const std::string& name) const { return dir_.File(name); }

    // Writes through channel 1 in mode 0 and returns the file's bytes.
    template <typename Write>
    Bytes Written(Write write) {
        std::string path = Path("out.bin");
        EXPECT_EQ(FileOpen(1, path.c_str(), 0), 1.0);
        write();
        FileClose(1);
        return ReadFileBytes(path);
    }

    ScopedTempDir dir_;
};

TEST_F(FileChannelTest, NumbersAreWrittenLittleEndianWithTruncation) {
    EXPECT_EQ(Written([] { FileWriteLong(1, 65536); }), (Bytes{0x00, 0x00, 0x01, 0x00}));
    EXPECT_EQ(Written([] { FileWriteLong(1, 3.9); }), (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(Written([] { FileWriteLong(1, -2.5); }), (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Written([] { FileWriteLong(1, -1); }), (Bytes{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Written([] { FileWriteLong(1, 5e9); }), (Bytes{0, 0, 0, 0x80})) << "out of range";
    EXPECT_EQ(Written([] { FileWriteByte(1, 256); }), (Bytes{0}));
    EXPECT_EQ(Written([] { FileWriteByte(1, 65); }), (Bytes{0x41}));
    EXPECT_EQ(Written([] { FileWriteByte(1, 300); }), (Bytes{44}));
    EXPECT_EQ(Written([] { FileWriteByte(1, -1); }), (Bytes{255}));
    EXPECT_EQ(Written([] { FileWriteByte(1, 40000); }), (Bytes{0})) << "out of 16-bit range";
    EXPECT_EQ(Written([] { FileWriteWord(1, 70000); }), (Bytes{0x70, 0x11}));
    EXPECT_EQ(Written([] { FileWriteWord(1, 5e9); }), (Bytes{0, 0}));
    EXPECT_EQ(Written([] { FileWriteDouble(1, 1.0); }), (Bytes{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
}

TEST_F(FileChannelTest, TextsAreWrittenWithoutTerminatorAndLinesEndInCrLf) {
    RtStr name("ROCKFORD");
    auto asText = [](const Bytes& b) { return std::string(b.begin(), b.end()); };
    EXPECT_EQ(asText(Written([&] { FileWriteBytes(1, name.raw()); })), "ROCKFORD");
    EXPECT_EQ(asText(Written([&] { FileWriteLine(1, name.raw()); })), "ROCKFORD\r\n");
    EXPECT_EQ(asText(Written([] { FileWriteNumberLine(1, -0.5); })), "-0.5\r\n");
    EXPECT_EQ(asText(Written([] {})), "") << "mode 0 leaves an empty file";
}

TEST_F(FileChannelTest, ValuesReadBackAsWritten) {
    std::string path = Path("values.bin");
    FileOpen(2, path.c_str(), 0);
    FileWriteLong(2, -2.5);
    FileWriteLong(2, 65536);
    FileWriteWord(2, 65535);
    FileWriteByte(2, 200);
    FileWriteDouble(2, -1.0 / 3);
    FileClose(2);

    ASSERT_EQ(FileOpen(2, path.c_str(), 1), 1.0);
    double v;
    FileReadLong(2, v);
    EXPECT_EQ(v, 4294967294.0) << "longs read back unsigned";
    FileReadLong(2, v);
    EXPECT_EQ(v, 65536);
    FileReadWord(2, v);
    EXPECT_EQ(v, 65535);
    FileReadByte(2, v);
    EXPECT_EQ(v, 200);
    EXPECT_EQ(FileEndOfFile(2), 0.0);
    FileReadDouble(2, v);
    EXPECT_EQ(v, -1.0 / 3);
    EXPECT_EQ(FileEndOfFile(2), 1.0);
    FileClose(2);
}

TEST_F(FileChannelTest, ReadingPastTheEndIsError3) {
    std::string path = Path("Map1-1.bin");
    WriteFileBytes(path, Bytes(1200, 1));
    ASSERT_EQ(FileOpen(1, path.c_str(), 1), 1.0);
    double v = 0;
    for (int i = 0; i < 1200; ++i) FileReadByte(1, v);
    EXPECT_EQ(FileEndOfFile(1), 1.0);
    EXPECT_RUNTIME_ERROR(FileReadByte(1, v), 3);
    EXPECT_NE(gErrorState.detail.find("Map1-1.bin"), std::string::npos) << "the message names the file";

    WriteFileBytes(path, Bytes{1, 2, 3});
    FileOpen(1, path.c_str(), 1);
    EXPECT_RUNTIME_ERROR(FileReadLong(1, v), 3);
}

TEST_F(FileChannelTest, ByteStringsStopAtTheFirstZero) {
    std::string path = Path("names.bin");
    WriteFileBytes(path, Bytes{'A', 'B', 0, 'C', 'D', 'E', 'F', 'G'});
    FileOpen(1, path.c_str(), 1);
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

TEST_F(FileChannelTest, LinesWithoutCarriageReturnsAndTheLastWithoutALineEnd) {
    std::string path = Path("text.txt");
    WriteFileText(path, "first\r\nsecond\n\r\nlast");
    FileOpen(1, path.c_str(), 1);
    RtStr line;
    std::vector<std::string> lines;
    for (int i = 0; i < 4; ++i) {
        FileReadLine(1, line.raw());
        lines.push_back(line.c_str());
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "", "last"}));
    EXPECT_RUNTIME_ERROR(FileReadLine(1, line.raw()), 3);
}

TEST_F(FileChannelTest, LongLinesArriveInPiecesAndStopAt1024Bytes) {
    std::string path = Path("long.txt");
    std::string longLine(200, 'x'), tooLong(1030, 'y');
    WriteFileText(path, longLine + "\n" + tooLong + "\n" + "12.5\r\n");
    FileOpen(1, path.c_str(), 1);
    RtStr line;
    FileReadLine(1, line.raw());
    EXPECT_EQ(std::string(line.c_str()), longLine);
    FileReadLine(1, line.raw());
    EXPECT_EQ(std::string(line.c_str()), std::string(1024, 'y'));
    FileReadLine(1, line.raw());
    EXPECT_EQ(std::string(line.c_str()), std::string(6, 'y')) << "the rest of the cut line";
    double number = 0;
    FileReadNumberLine(1, number);
    EXPECT_EQ(number, 12.5);
    EXPECT_EQ(FileEndOfFile(1), 1.0);
}

TEST_F(FileChannelTest, ChannelsOutsideZeroToSevenAreError7) {
    double v = 0;
    RtStr s("x");
    std::string path = Path("f");
    EXPECT_RUNTIME_ERROR(FileOpen(8, path.c_str(), 0), 7);
    EXPECT_RUNTIME_ERROR(FileOpen(-1, path.c_str(), 1), 7);
    EXPECT_RUNTIME_ERROR(FileClose(8), 7);
    EXPECT_RUNTIME_ERROR(FileReadByte(-1, v), 7);
    EXPECT_RUNTIME_ERROR(FileWriteLine(8, s.raw()), 7);
    EXPECT_RUNTIME_ERROR(FileEndOfFile(std::nan("")), 7);
    EXPECT_RUNTIME_ERROR(FileReadLine(-0.5 - 1, s.raw()), 7);
    EXPECT_NO_RUNTIME_EXIT(FileClose(7.9)) << "7.9 is channel 7";
}

TEST_F(FileChannelTest, ClosedOrWrongWayChannelsAreError3) {
    double v = 0;
    RtStr s("x");
    std::string missing = Path("missing.bin");
    EXPECT_EQ(FileOpen(1, missing.c_str(), 1), 0.0);
    EXPECT_RUNTIME_ERROR(FileReadByte(1, v), 3);
    EXPECT_EQ(gErrorState.detail, "cannot read " + missing + " (could not open it: No such file or directory)");
    EXPECT_RUNTIME_ERROR(FileWriteByte(3, 1), 3);
    EXPECT_EQ(gErrorState.detail, "cannot write file channel 3 (no open file)");

    std::string path = Path("data.bin");
    WriteFileBytes(path, Bytes{1, 2});
    FileOpen(1, path.c_str(), 1);
    EXPECT_RUNTIME_ERROR(FileWriteByte(1, 1), 3) << "opened for reading";
    FileOpen(1, Path("new.bin").c_str(), 0);
    EXPECT_RUNTIME_ERROR(FileReadByte(1, v), 3) << "opened for writing";
    EXPECT_EQ(FileEndOfFile(1), 1.0);
    EXPECT_EQ(FileOpen(1, dir_.path().c_str(), 1), 0.0) << "a directory is not a data file";
    EXPECT_EQ(FileOpen(1, "", 1), 0.0);
}

TEST_F(FileChannelTest, BackslashesNameTheSameFile) {
    std::string path = Path("LevC.bin");
    WriteFileBytes(path, Bytes{7});
    std::string windowsName = dir_.path() + "\\LevC.bin";
    ASSERT_EQ(FileOpen(1, windowsName.c_str(), 1), 1.0);
    double v = 0;
    FileReadByte(1, v);
    EXPECT_EQ(v, 7);
}

TEST_F(FileChannelTest, TheOldFileStaysUntilTheNewOneIsClosed) {
    std::string path = Path("Data.bin");
    WriteFileBytes(path, Bytes{9, 9, 9, 9});
    FileOpen(1, path.c_str(), 0);
    FileWriteLong(1, 1);
    EXPECT_EQ(ReadFileBytes(path), (Bytes{9, 9, 9, 9}));
    FileClose(1);
    EXPECT_EQ(ReadFileBytes(path), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(ListDirectory(dir_.path()).size(), 1u) << "no temporary file left behind";
}

TEST_F(FileChannelTest, ASaveThatFailsPartWayKeepsTheOldFile) {
    std::string path = Path("Data.bin");
    Bytes old(3200, 0x5A);
    WriteFileBytes(path, old);

    // A file-size limit makes the disk "full" after 100 bytes.
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 100;
    signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    int status = CatchRuntimeExit([&] {
        FileOpen(1, path.c_str(), 0);
        for (int i = 0; i < 800; ++i) FileWriteLong(1, i);
        FileClose(1);
    });
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, SIG_DFL);

    EXPECT_EQ(status, 3);
    EXPECT_EQ(ReadFileBytes(path), old);
    EXPECT_EQ(ListDirectory(dir_.path()).size(), 1u) << "the half-written file is removed";
}

TEST_F(FileChannelTest, AnErrorDuringASaveKeepsTheOldFile) {
    std::string path = Path("Name.bin");
    WriteFileText(path, "old names");
    EXPECT_EQ(CatchRuntimeExit([&] {
                  FileOpen(1, path.c_str(), 0);
                  FileWriteLong(1, 1);
                  RecordError(9);  // e.g. a bad index while the names are written
                  RuntimeErrorExit();
              }),
              9);
    EXPECT_EQ(ReadFileText(path), "old names");
    EXPECT_EQ(ListDirectory(dir_.path()).size(), 1u);
}

TEST_F(FileChannelTest, ANormalEndCommitsAFileStillOpen) {
    std::string path = Path("Player.bin");
    EXPECT_EQ(CatchRuntimeExit([&] {
                  FileOpen(1, path.c_str(), 0);
                  FileWriteByte(1, 65);
                  EndProgram();
              }),
              0);
    EXPECT_EQ(ReadFileText(path), "A");
}

}  // namespace
