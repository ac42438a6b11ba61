// The places of the game's data files. In the build folder nothing moves: every file is
// "./Maps/NAME". Read-only is decided by asking for the real user's write access, not by reading
// permission bits; root may write anywhere, so root keeps its saves beside the program.
#include "game/data_files.h"

#include <errno.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "core/rt_string.h"
#include "core/save_group.h"
#include "game/replay.h"

namespace {

const std::string kShippedFolder = "./Maps";
// Says "rename both" while Name.bin and Data.bin are being replaced.
const std::string kMarkerName = "Commit.txt";
const std::vector<std::string> kSaveNames = {"LevC.bin", "Player.bin", "Name.bin", "Data.bin"};

struct SaveFiles {
    std::string folder = kShippedFolder;
    std::string chosenFolder;  // UseSaveFolder
    std::vector<std::string> paths;

    SaveFiles() {
        for (const std::string& name : kSaveNames) paths.push_back(kShippedFolder + "/" + name);
    }
};

SaveFiles& Saves() {
    static SaveFiles saves;
    return saves;
}

bool IsDirectory(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// access() answers for the real user, so a program run with more rights asks for the player.
bool PlayerMayWriteIn(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

// Makes the folder and any missing parents private to the player, as per-user data folders are.
bool MakeFolders(const std::string& folder, std::string& error) {
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        std::string part = folder.substr(0, slash);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create the save folder " + folder + " (" + std::strerror(errno) + ")";
            return false;
        }
        if (slash == std::string::npos) break;
    }
    if (IsDirectory(folder)) return true;
    error = "cannot create the save folder " + folder + " (a file of that name is in the way)";
    return false;
}

std::string HomeOfTheUser() {
    const passwd* user = getpwuid(getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

// The shipped save files the player's folder lacks, copied in whole.
bool FillSaveFolder(const std::string& folder, std::string& error) {
    for (const std::string& name : kSaveNames) {
        const std::string path = folder + "/" + name;
        if (IsFile(path)) continue;
        const std::string shipped = kShippedFolder + "/" + name;
        std::ifstream in(shipped, std::ios::binary);
        std::string bytes, why;
        if (!in) why = std::strerror(errno);
        else bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (why.empty() && ReplaceFileAtomically(path, bytes, why)) continue;
        error = "cannot copy " + shipped + " to " + path + " (" + why + ")";
        return false;
    }
    return true;
}

std::string ChooseSaveFolder(std::string& error) {
    if (!Saves().chosenFolder.empty()) return Saves().chosenFolder;
    // A missing Maps folder is reported as a missing file when the game reads it.
    if (!IsDirectory(kShippedFolder) || PlayerMayWriteIn(kShippedFolder)) return kShippedFolder;
    const char* home = std::getenv("HOME");
    const std::string userHome = home != nullptr && *home != '\0' ? home : HomeOfTheUser();
    std::string folder = PlayerSaveFolder(std::getenv("XDG_DATA_HOME"), userHome.c_str());
    if (folder.empty()) error = "no folder for the save files: set HOME or XDG_DATA_HOME";
    return folder;
}

}  // namespace

std::string LevelFilePath(double level, const std::string& programDirectory) {
    char number[64];
    NumberToText(level, number);
    return programDirectory + "/Maps/Map" + number + "-1.bin";
}

bool LevelFileCrc(int level, uint32_t& crc, const std::string& programDirectory) {
    return FileCrc32(LevelFilePath(level, programDirectory), crc);
}

const char* SaveFilePath(SaveFile file) { return Saves().paths[static_cast<int>(file)].c_str(); }

bool SetUpSaveFiles(bool mayWrite, std::string& error) {
    SaveFiles& saves = Saves();
    std::string folder = ChooseSaveFolder(error);
    if (folder.empty()) return false;
    const bool elsewhere = folder != kShippedFolder;
    if (mayWrite && elsewhere && !MakeFolders(folder, error)) return false;
    // Found out now, not when the first result is to be kept.
    if (mayWrite && elsewhere && !PlayerMayWriteIn(folder)) {
        error = "cannot write to the save folder " + folder + " (" + std::strerror(errno) + ")";
        return false;
    }
    if (mayWrite) {
        std::string problem = TidySaveFolder(folder, kMarkerName, kSaveNames);
        if (!problem.empty()) std::fprintf(stderr, "tumbrel: %s\n", problem.c_str());
    }
    if (mayWrite && elsewhere && !FillSaveFolder(folder, error)) return false;
    saves.folder = folder;
    for (size_t i = 0; i < kSaveNames.size(); ++i) {
        saves.paths[i] = folder + "/" + kSaveNames[i];
        if (!mayWrite && elsewhere && !IsFile(saves.paths[i])) saves.paths[i] = kShippedFolder + "/" + kSaveNames[i];
    }
    return true;
}

void UseSaveFolder(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    Saves().chosenFolder = trimmed;
}

std::string PlayerSaveFolder(const char* xdgDataHome, const char* home) {
    // A relative XDG_DATA_HOME is invalid and ignored.
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/') return std::string(xdgDataHome) + "/tumbrel";
    if (home != nullptr && home[0] != '\0') return std::string(home) + "/.local/share/tumbrel";
    return "";
}

void BeginSavingScores() { BeginSaveGroup(); }

void FinishSavingScores() { CommitSaveGroup(Saves().folder + "/" + kMarkerName); }
