// Files saved as one. The marker holds one line per file, "TEMPORARY TARGET", both plain names in
// the marker's folder; it is itself written atomically, so a marker that exists is complete.
#include "core/save_group.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "core/errors.h"

namespace {

struct HeldFile {
    std::string temporary;
    std::string target;
};

struct SaveGroup {
    bool open = false;
    std::vector<HeldFile> held;
    void (*observer)() = nullptr;
};

SaveGroup& Group() {
    static SaveGroup group;
    return group;
}

void StepDone() {
    if (Group().observer != nullptr) Group().observer();
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

void SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

// "Name.bin.tmp-a1B2c3" for "Name.bin": the six characters mkostemp puts in.
bool IsTemporaryOf(const std::string& name, const std::string& fileName) {
    const size_t suffixLength = std::strlen(kSaveTemporarySuffix);
    if (name.size() != fileName.size() + suffixLength || name.compare(0, fileName.size(), fileName) != 0) return false;
    if (name.compare(fileName.size(), 5, ".tmp-") != 0) return false;
    return std::all_of(name.end() - 6, name.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

// The marker's lines, each naming a temporary file of one of `fileNames`; false when any is not.
bool ParseMarker(const std::string& text, const std::vector<std::string>& fileNames, std::vector<HeldFile>& files) {
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        HeldFile file;
        std::string extra;
        if (!(words >> file.temporary >> file.target) || (words >> extra)) return false;
        bool known = std::find(fileNames.begin(), fileNames.end(), file.target) != fileNames.end();
        if (!known || !IsTemporaryOf(file.temporary, file.target)) return false;
        files.push_back(file);
    }
    return !files.empty();
}

std::string ReadSmallFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return "";
    std::string text;
    char buffer[512];
    ssize_t got;
    while (text.size() < 4096 && (got = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(got));
    close(fd);
    return text;
}

// Renames what a marker names; a temporary file already gone was renamed before the kill.
std::string RollForward(const std::string& folder, const std::string& markerName,
                        const std::vector<std::string>& fileNames) {
    const std::string marker = folder + "/" + markerName;
    std::vector<HeldFile> files;
    std::string problem;
    if (!ParseMarker(ReadSmallFile(marker), fileNames, files)) {
        problem = "ignored the damaged " + marker + "; the files it named are kept as they were";
        files.clear();
    }
    for (const HeldFile& file : files) {
        const std::string temporary = folder + "/" + file.temporary;
        if (Exists(temporary) && rename(temporary.c_str(), (folder + "/" + file.target).c_str()) != 0) {
            return "cannot finish the save of " + folder + "/" + file.target + " (" + std::strerror(errno) + ")";
        }
    }
    SyncFolder(folder);
    unlink(marker.c_str());
    SyncFolder(folder);
    return problem;
}

void RemoveStaleTemporaries(const std::string& folder, const std::vector<std::string>& names) {
    DIR* directory = opendir(folder.c_str());
    if (directory == nullptr) return;
    while (dirent* entry = readdir(directory)) {
        std::string name = entry->d_name;
        bool ours = std::any_of(names.begin(), names.end(),
                                [&](const std::string& file) { return IsTemporaryOf(name, file); });
        if (ours) unlink((folder + "/" + name).c_str());
    }
    closedir(directory);
}

[[noreturn]] void CommitFailed(const std::string& detail) {
    RecordErrorDetail(ErrFileTransfer, detail);
    RuntimeErrorExit();
}

}  // namespace

void BeginSaveGroup() {
    DiscardSaveGroup();
    Group().open = true;
}

bool SaveGroupOpen() { return Group().open; }

void HoldForSaveGroup(const std::string& temporary, const std::string& target) {
    Group().held.push_back({temporary, target});
    StepDone();
}

void CommitSaveGroup(const std::string& markerPath) {
    SaveGroup& group = Group();
    std::vector<HeldFile> held;
    held.swap(group.held);
    group.open = false;
    if (held.empty()) return;
    const std::string folder = FolderOf(markerPath);
    std::string marker, error;
    for (const HeldFile& file : held) {
        if (FolderOf(file.target) != folder) error = file.target + " lies outside " + folder;
        marker += NameOf(file.temporary) + " " + NameOf(file.target) + "\n";
    }
    if (!error.empty() || !ReplaceFileAtomically(markerPath, marker, error)) {
        for (const HeldFile& file : held) unlink(file.temporary.c_str());
        CommitFailed("cannot save " + held.front().target + " (" + error + "; the old files are kept)");
    }
    StepDone();
    for (const HeldFile& file : held) {
        if (rename(file.temporary.c_str(), file.target.c_str()) != 0)
            CommitFailed("cannot save " + file.target + " (" + std::strerror(errno) + "; finished at the next start)");
        StepDone();
    }
    SyncFolder(folder);
    unlink(markerPath.c_str());
    SyncFolder(folder);
    StepDone();
}

void DiscardSaveGroup() {
    SaveGroup& group = Group();
    for (const HeldFile& file : group.held) unlink(file.temporary.c_str());
    group.held.clear();
    group.open = false;
}

std::string TidySaveFolder(const std::string& folder, const std::string& markerName,
                           const std::vector<std::string>& fileNames) {
    std::string problem;
    if (Exists(folder + "/" + markerName)) problem = RollForward(folder, markerName, fileNames);
    std::vector<std::string> names = fileNames;
    names.push_back(markerName);
    RemoveStaleTemporaries(folder, names);
    return problem;
}

bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error) {
    std::string temporary = path + kSaveTemporarySuffix;
    int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    errno = 0;
    bool ok = WriteAll(fd, bytes) && fsync(fd) == 0;
    int reason = errno;
    if (close(fd) != 0 && ok) ok = false, reason = errno;
    StepDone();
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) {
        SyncFolder(FolderOf(path));
        return true;
    }
    if (ok) reason = errno;
    error = std::strerror(reason != 0 ? reason : ENOSPC);
    unlink(temporary.c_str());
    return false;
}

void SetSaveStepObserver(void (*observer)()) { Group().observer = observer; }
