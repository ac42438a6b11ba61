// Files saved as one survive a kill at every step: the next start finds both old or both new,
// and nothing of ours left behind.
#include "core/save_group.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "core/file_channels.h"
#include "tests/support/temp_files.h"

namespace {

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
