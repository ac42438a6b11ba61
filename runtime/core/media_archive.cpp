#include "core/media_archive.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/errors.h"
#include "core/media_archive_format.h"

// ---------------------------------------------------------------------------------------------
// Global state

namespace {

struct MediaArchiveSlotState {
    bool enabled = true;
    std::string archiveName;
    std::string temporaryName;  // the file last extracted through this slot, empty when none
};

struct MediaArchiveState {
    MediaArchiveSlotState slots[2];
    // Extracted files go into a folder of this process's own, made afresh under $TMPDIR while
    // one is needed: nobody else can plant or replace a name in it.
    std::string extractFolder;
};
MediaArchiveState gMediaArchive;

MediaArchiveSlotState* SlotAt(int slot) {
    if (slot != MediaSlotMedia && slot != MediaSlotStream) return nullptr;
    return &gMediaArchive.slots[slot];
}

// The folder goes with the last file in it.
void DeleteTemporaryFile(MediaArchiveSlotState& slot) {
    if (!slot.temporaryName.empty()) unlink(slot.temporaryName.c_str());
    slot.temporaryName.clear();
    for (const MediaArchiveSlotState& other : gMediaArchive.slots) {
        if (!other.temporaryName.empty()) return;
    }
    if (!gMediaArchive.extractFolder.empty()) rmdir(gMediaArchive.extractFolder.c_str());
    gMediaArchive.extractFolder.clear();
}

// The private folder (mode 0700), made when the first file is extracted; "" when it cannot be.
const std::string& ExtractFolder() {
    std::string& folder = gMediaArchive.extractFolder;
    if (folder.empty()) {
        std::string pattern = TempDirectory() + "pilcrow-media-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
    }
    return folder;
}

// Entry names come from the archive: control bytes must not reach the terminal.
void ReportArchiveProblem(const std::string& archive, const std::string& what) {
    std::fprintf(stderr, "Media archive \"%s\": %s.\n", archive.c_str(), PrintableExcerpt(what).c_str());
}

// ---------------------------------------------------------------------------------------------
// Disk and temporary files

bool ReadableFileOnDisk(const std::string& name) {
    std::string diskName = name;
    for (char& c : diskName) {
        if (c == '\\') c = '/';
    }
    const int fd = open(diskName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    close(fd);
    return regular;
}

char OffsetLetter(int32_t value) {
    // The low byte of the number, as unsigned, picks one of 26 letters.
    return static_cast<char>('A' + (static_cast<uint32_t>(value) & 0xFFu) % 26);
}

bool WriteAll(int fd, const std::vector<uint8_t>& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

// A fresh file only this user can read, never reached through a symbolic link; no partial file
// is left behind.
bool WritePrivateFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    unlink(path.c_str());
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, bytes);
    const bool closed = close(fd) == 0;
    if (written && closed) return true;
    unlink(path.c_str());
    return false;
}

// ---------------------------------------------------------------------------------------------
// Archive lookup

// The first entry that matches the requested name; false when there is none.
bool FindEntry(SbxReader& reader, const std::string& requestedName, SbxEntry& found) {
    SbxEntry entry;
    while (reader.NextEntry(entry)) {
        if (SbxNameMatches(entry.name, requestedName)) {
            found = entry;
            return true;
        }
    }
    return false;
}

bool ExtractEntry(MediaArchiveSlotState& slot, SbxReader& reader, const SbxEntry& entry,
                  std::string& resultPath) {
    const std::string storedBase = BaseName(entry.name);
    if (!IsUsableFileName(storedBase)) {
        ReportArchiveProblem(slot.archiveName, "entry \"" + entry.name + "\" has no usable file name");
        return false;
    }
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!reader.Unpack(entry, bytes, reason)) {
        ReportArchiveProblem(slot.archiveName, reason);
        return false;
    }
    const std::string& folder = ExtractFolder();
    if (folder.empty()) {
        ReportArchiveProblem(slot.archiveName, "cannot make a private folder in " + TempDirectory());
        return false;
    }
    const std::string path = folder + "/sbx" + OffsetLetter(entry.dataOffset) + OffsetLetter(entry.storedSize) + storedBase;
    if (!WritePrivateFile(path, bytes)) {
        ReportArchiveProblem(slot.archiveName, "cannot create the temporary file " + path);
        DeleteTemporaryFile(slot);
        return false;
    }
    slot.temporaryName = path;
    resultPath = path;
    return true;
}

bool LookUpArchive(MediaArchiveSlotState& slot, const std::string& requestedName, std::string& resultPath) {
    if (!slot.enabled) return false;
    if (slot.archiveName.empty()) {
        slot.enabled = false;
        return false;
    }
    SbxReader reader;
    switch (reader.Open(slot.archiveName)) {
    case SbxOpen::Ok:
        break;
    case SbxOpen::CannotOpen:
        slot.enabled = false;
        return false;
    case SbxOpen::NotAnArchive:
        ReportArchiveProblem(slot.archiveName, "not a media archive (no \"sbX\" trailer); using files on disk only");
        slot.enabled = false;
        return false;
    case SbxOpen::NoTrailer:
        return false;
    case SbxOpen::BadDirectory:
        ReportArchiveProblem(slot.archiveName, "damaged (directory offset outside the file)");
        return false;
    }
    SbxEntry entry;
    if (!FindEntry(reader, requestedName, entry)) return false;
    return ExtractEntry(slot, reader, entry, resultPath);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Interface

void CreateMediaArchiveSlots(const std::string& programDirectory) {
    for (MediaArchiveSlotState& slot : gMediaArchive.slots) {
        DeleteTemporaryFile(slot);
        slot = MediaArchiveSlotState{};
    }
    SetMediaArchive(programDirectory, programDirectory);
}

void ReleaseMediaArchiveSlots() {
    for (MediaArchiveSlotState& slot : gMediaArchive.slots) {
        DeleteTemporaryFile(slot);
        slot = MediaArchiveSlotState{};
    }
}

void SetMediaArchive(const std::string& mediaArchive, const std::string& streamArchive) {
    const std::string* names[2] = {&mediaArchive, &streamArchive};
    for (int i = 0; i < 2; ++i) {
        MediaArchiveSlotState& slot = gMediaArchive.slots[i];
        slot.enabled = true;
        DeleteTemporaryFile(slot);
        slot.archiveName = *names[i];
    }
}

bool ResolveMediaFile(int slotNumber, const std::string& requestedName, std::string& resultPath) {
    resultPath.clear();
    MediaArchiveSlotState* slot = SlotAt(slotNumber);
    if (slot == nullptr) return false;
    DeleteTemporaryFile(*slot);
    if (requestedName.empty()) return false;
    if (ReadableFileOnDisk(requestedName)) {
        resultPath = requestedName;
        return true;
    }
    return LookUpArchive(*slot, requestedName, resultPath);
}
