// File channels 0..7 over POSIX files. A file opened for writing is built in a temporary file
// beside its target and renamed over it on close, so an interrupted save keeps the old file.
#include "core/file_channels.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/errors.h"
#include "core/save_group.h"

namespace {

constexpr int kChannels = 8;
constexpr size_t kMaxNameBytes = 1023;
constexpr uint32_t kLineLimit = 1024;
constexpr uint32_t kLinePiece = 64;

struct FileChannel {
    int fd = -1;
    uint64_t size = 0;
    uint64_t position = 0;
    bool writing = false;
    bool writeFailed = false;
    std::string name;       // as the game named it, for messages
    std::string target;     // the file a write channel replaces on close
    std::string temporary;  // where a write channel's bytes go until then
    std::string openFailure;  // why the last FileOpen on this channel failed, for the error line
};

FileChannel gChannels[kChannels];

[[noreturn]] void FileError(int number, const std::string& detail) {
    RecordErrorDetail(number, detail);
    RuntimeErrorExit();
}

FileChannel& CheckedChannel(double channel) {
    if (!(channel >= 0 && channel < kChannels)) {
        char text[64];
        std::snprintf(text, sizeof text, "file channel %g does not exist (0 to 7)", channel);
        FileError(ErrArgumentRange, text);
    }
    return gChannels[static_cast<int>(channel)];
}

std::string PlatformPath(const char* name) {
    std::string path(name != nullptr ? name : "");
    if (path.size() > kMaxNameBytes) path.resize(kMaxNameBytes);
    ToPlatformPath(path.data());
    return path;
}

// ---------------------------------------------------------------------------------------------
// Opening, committing and closing

void SyncDirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    std::string directory = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

bool OpenForWriting(FileChannel& ch, const std::string& path) {
    std::string pattern = path + kSaveTemporarySuffix;
    int fd = mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return false;
    // mkostemp creates 0600; a saved file gets the ordinary permissions of a new file.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    ch.fd = fd;
    ch.writing = true;
    ch.target = path;
    ch.temporary = pattern;
    return true;
}

bool OpenForReading(FileChannel& ch, const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    ch.fd = fd;
    ch.size = static_cast<uint64_t>(info.st_size);
    return true;
}

// Flushes the new file to disk and moves it over the target (or leaves that to the open save
// group); false leaves the target as it was.
bool CommitWrite(FileChannel& ch) {
    bool ok = !ch.writeFailed && fsync(ch.fd) == 0;
    ok = close(ch.fd) == 0 && ok;
    ch.fd = -1;
    if (ok && SaveGroupOpen()) {
        HoldForSaveGroup(ch.temporary, ch.target);
        return true;
    }
    if (ok && rename(ch.temporary.c_str(), ch.target.c_str()) == 0) {
        SyncDirectoryOf(ch.target);
        return true;
    }
    unlink(ch.temporary.c_str());
    return false;
}

void DiscardWrite(FileChannel& ch) {
    close(ch.fd);
    ch.fd = -1;
    unlink(ch.temporary.c_str());
}

// Closes the channel; a write channel is committed or, when `commit` is false, thrown away.
// Returns false when a commit failed.
bool CloseChannel(FileChannel& ch, bool commit) {
    bool ok = true;
    if (ch.fd >= 0) {
        if (!ch.writing) {
            close(ch.fd);
        } else if (commit) {
            ok = CommitWrite(ch);
        } else {
            DiscardWrite(ch);
        }
    }
    ch = FileChannel{};
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Transfers

// Reads up to `count` bytes, retrying after interruptions; returns the number read.
size_t ReadFully(int fd, void* buffer, size_t count) {
    size_t done = 0;
    while (done < count) {
        ssize_t got = read(fd, static_cast<char*>(buffer) + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

// The clause for a transfer on a channel without a file: the file it failed to open, if any.
std::string NoFileClause(const FileChannel& ch, const char* verb, double channel) {
    if (!ch.name.empty()) return std::string("cannot ") + verb + " " + ch.name + " (could not open it: " + ch.openFailure + ")";
    return std::string("cannot ") + verb + " file channel " + std::to_string(static_cast<int>(channel)) + " (no open file)";
}

FileChannel& ReadableChannel(double channel) {
    FileChannel& ch = CheckedChannel(channel);
    if (ch.fd < 0) FileError(ErrFileTransfer, NoFileClause(ch, "read", channel));
    if (ch.writing) FileError(ErrFileTransfer, "cannot read " + ch.name + " (opened for writing)");
    return ch;
}

void ReadExactly(double channel, void* buffer, size_t count) {
    FileChannel& ch = CheckedChannel(channel);
    ch.position += count;
    ReadableChannel(channel);
    if (ReadFully(ch.fd, buffer, count) < count) FileError(ErrFileTransfer, "cannot read " + ch.name + " (file too short)");
}

void WriteExactly(double channel, const void* bytes, size_t count) {
    FileChannel& ch = CheckedChannel(channel);
    if (ch.fd < 0) FileError(ErrFileTransfer, NoFileClause(ch, "write", channel));
    if (!ch.writing) FileError(ErrFileTransfer, "cannot write " + ch.name + " (opened for reading)");
    size_t done = 0;
    while (done < count) {
        ssize_t put = write(ch.fd, static_cast<const char*>(bytes) + done, count - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            ch.writeFailed = true;
            FileError(ErrFileTransfer, "cannot write " + ch.name + " (" + std::strerror(put < 0 ? errno : ENOSPC) + ")");
        }
        done += static_cast<size_t>(put);
    }
}

uint64_t LittleEndian(const unsigned char* bytes, int width) {
    uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = (value << 8) | bytes[i];
    return value;
}

void WriteLittleEndian(double channel, uint64_t value, int width) {
    unsigned char bytes[8];
    for (int i = 0; i < width; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    WriteExactly(channel, bytes, static_cast<size_t>(width));
}

double ReadUnsigned(double channel, int width) {
    unsigned char bytes[8];
    ReadExactly(channel, bytes, static_cast<size_t>(width));
    return static_cast<double>(LittleEndian(bytes, width));
}

}  // namespace

void ToPlatformPath(char* path) {
    for (char* p = path; p != nullptr && *p != 0; ++p) {
        if (*p == '\\') *p = '/';
    }
}

double FileOpen(double channel, const char* name, double mode) {
    FileChannel& ch = CheckedChannel(channel);
    CloseChannel(ch, true);
    std::string path = PlatformPath(name);
    if (path.empty()) {
        ch.openFailure = "no file name";
        return 0.0;
    }
    bool opened = mode == 0 ? OpenForWriting(ch, path) : OpenForReading(ch, path);
    if (!opened) {
        int reason = errno;
        ch = FileChannel{};
        ch.name = path;
        ch.openFailure = std::strerror(reason);
        return 0.0;
    }
    ch.name = path;
    return 1.0;
}

void FileClose(double channel) {
    FileChannel& ch = CheckedChannel(channel);
    std::string name = ch.name;
    if (!CloseChannel(ch, true)) FileError(ErrFileTransfer, "cannot save " + name + " (the old file is kept)");
}

double FileEndOfFile(double channel) {
    FileChannel& ch = CheckedChannel(channel);
    return ch.position >= ch.size ? 1.0 : 0.0;
}

void CloseAllFileChannels() {
    // A save cut short by a runtime error is incomplete; only a normal end commits it.
    bool commit = gErrorState.number == 0;
    for (FileChannel& ch : gChannels) CloseChannel(ch, commit);
    DiscardSaveGroup();
}

// ---------------------------------------------------------------------------------------------
// Reads

void FileReadByte(double channel, double& value) { value = ReadUnsigned(channel, 1); }
void FileReadWord(double channel, double& value) { value = ReadUnsigned(channel, 2); }
void FileReadLong(double channel, double& value) { value = ReadUnsigned(channel, 4); }

void FileReadDouble(double channel, double& value) {
    unsigned char bytes[8];
    ReadExactly(channel, bytes, 8);
    uint64_t bits = LittleEndian(bytes, 8);
    std::memcpy(&value, &bits, sizeof value);
}

void FileReadBytes(double channel, RtString& value, double count) {
    if (!(count > 0)) {
        StrAssignChars(value, "");
        return;
    }
    FileChannel& ch = CheckedChannel(channel);
    double wanted = std::trunc(count);
    // More than the file holds can only fail; refuse before reserving room for it.
    if (ch.fd >= 0 && !ch.writing && wanted > static_cast<double>(ch.size - std::min(ch.size, ch.position))) {
        ch.position = ch.size;
        FileError(ErrFileTransfer, "cannot read " + ch.name + " (file too short)");
    }
    uint32_t bytes = static_cast<uint32_t>(std::min(wanted, 4294966000.0));
    char* buffer = StrBuffer(value, bytes + 1);
    std::memset(buffer, 0, bytes + 1);
    value.length = 0;
    ReadExactly(channel, buffer, bytes);
    StrRecount(value);
}

// Reads one line in pieces of 64 bytes: the text ends at a line feed (a carriage return before
// it is dropped) or after 1024 bytes; the file is left right behind the line feed.
void FileReadLine(double channel, RtString& value) {
    FileChannel& ch = ReadableChannel(channel);
    char* buffer = StrBuffer(value, kLineLimit);
    std::memset(buffer, 0, kLineLimit + 1);
    value.length = 0;
    uint32_t filled = 0;
    uint32_t end = kLineLimit;
    bool lineEnded = true;
    while (filled < kLineLimit) {
        uint32_t asked = std::min(kLinePiece, kLineLimit - filled);
        uint32_t got = static_cast<uint32_t>(ReadFully(ch.fd, buffer + filled, asked));
        ch.position += got;
        if (got == 0) FileError(ErrFileTransfer, "cannot read " + ch.name + " (no line left)");
        void* lineFeed = std::memchr(buffer + filled, '\n', got);
        if (lineFeed != nullptr) {
            end = static_cast<uint32_t>(static_cast<char*>(lineFeed) - buffer);
            uint32_t behind = filled + got - (end + 1);
            lseek(ch.fd, -static_cast<off_t>(behind), SEEK_CUR);
            ch.position -= behind;
            break;
        }
        filled += got;
        lineEnded = filled < kLineLimit;
        // A short piece is the end of the file: the last line needs no line end.
        if (got < asked) {
            end = filled;
            break;
        }
    }
    if (lineEnded && end > 0 && buffer[end - 1] == '\r') --end;
    std::memset(buffer + end, 0, kLineLimit + 1 - end);
    StrRecount(value);
}

void FileReadNumberLine(double channel, double& value) {
    RtStr line;
    FileReadLine(channel, line.raw());
    value = StrToNumber(line.raw());
}

// ---------------------------------------------------------------------------------------------
// Writes

void FileWriteByte(double channel, double value) {
    WriteLittleEndian(channel, static_cast<uint16_t>(TruncInt16(value)) & 0xFFu, 1);
}

void FileWriteWord(double channel, double value) {
    WriteLittleEndian(channel, static_cast<uint32_t>(TruncInt32(value)) & 0xFFFFu, 2);
}

void FileWriteLong(double channel, double value) {
    WriteLittleEndian(channel, static_cast<uint32_t>(TruncInt32(value)), 4);
}

void FileWriteDouble(double channel, double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    WriteLittleEndian(channel, bits, 8);
}

void FileWriteBytes(double channel, const RtString& value) { WriteExactly(channel, StrChars(value), value.length); }

void FileWriteLine(double channel, const RtString& value) {
    std::string line(StrChars(value), value.length);
    line += "\r\n";
    WriteExactly(channel, line.data(), line.size());
}

void FileWriteNumberLine(double channel, double value) {
    char text[64];
    NumberToText(value, text);
    std::string line = std::string(text) + "\r\n";
    WriteExactly(channel, line.data(), line.size());
}
