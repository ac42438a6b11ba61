// Reading "sbX" media archives: the trailer, the directory, name matching and the LZO1X entries,
// with every size and offset checked against the file. Used by the media archive slots and by the
// sbx tool. Depends on liblzo2 only. Knows nothing of slots or temporary files.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

constexpr char kSbxMagic[3] = {'s', 'b', 'X'};
constexpr int kSbxTrailerBytes = 7;
// Pictures and sounds stay far below this; larger claims come from damaged archives.
constexpr uint32_t kMaxEntryBytes = 64u << 20;
// No LZO1X instruction yields more than 255 bytes per byte it occupies.
constexpr uint32_t kMaxLzoExpansion = 255;

struct SbxEntry {
    std::string name;         // as stored
    int32_t dataOffset = 0;   // as stored: from the start, or from the end when negative mode
    int32_t storedSize = 0;   // size of the data block: 4-byte unpacked size + LZO1X data
    int64_t dataStart = 0;    // absolute position of the data block in the file
};

enum class SbxOpen {
    Ok,
    CannotOpen,      // missing or not a regular file
    NoTrailer,       // shorter than the trailer
    NotAnArchive,    // the trailer does not start with "sbX"
    BadDirectory,    // the directory offset lies outside the file
};

class SbxReader {
public:
    SbxReader() = default;
    SbxReader(const SbxReader&) = delete;
    SbxReader& operator=(const SbxReader&) = delete;
    ~SbxReader();

    SbxOpen Open(const std::string& path);
    // The next directory entry; false at the end of the directory or where it cannot be read.
    bool NextEntry(SbxEntry& entry);
    // The entry's unpacked bytes; false with a one-line reason for a damaged entry.
    bool Unpack(const SbxEntry& entry, std::vector<uint8_t>& bytes, std::string& reason);
    // The unpacked size claimed by the entry's block, without unpacking.
    bool ClaimedSize(const SbxEntry& entry, uint32_t& size);
    int64_t FileSize() const { return fileSize_; }
    bool OffsetsFromEnd() const { return fromEnd_; }

private:
    bool ReadAt(int64_t position, void* into, size_t count);
    bool ReadBlock(const SbxEntry& entry, std::vector<uint8_t>& block, std::string& reason);

    FILE* file_ = nullptr;
    int64_t fileSize_ = 0;
    bool fromEnd_ = false;
    int64_t directoryAt_ = 0;  // next directory entry
};

// The lookup rule: the stored name equals the last L characters of the requested name, ignoring
// case ("/" and "\" alike), and covers at least the requested name's base name.
bool SbxNameMatches(const std::string& storedName, const std::string& requestedName);
// The part after the last "/" or "\".
std::string BaseName(const std::string& name);
// A base name that may be used as a file name: not empty, not "." or "..", no NUL byte.
bool IsUsableFileName(const std::string& baseName);

// LZO1X safe decompression of exactly `unpackedSize` bytes; false for any damage or surplus.
bool UnpackLzo1x(const uint8_t* packed, size_t packedSize, uint32_t unpackedSize, std::vector<uint8_t>& out);
