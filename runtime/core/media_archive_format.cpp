#include "core/media_archive_format.h"

#include <cctype>
#include <cstring>
#include <mutex>
#include <sys/stat.h>

#include <lzo/lzo1x.h>

namespace {

int32_t I32At(const uint8_t* p) {
    const uint32_t u = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    return static_cast<int32_t>(u);
}

bool InitLzo() {
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = lzo_init() == LZO_E_OK; });
    return ready;
}

char FoldForMatch(char c) {
    if (c == '\\') return '/';
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Names

std::string BaseName(const std::string& name) {
    const size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool IsUsableFileName(const std::string& baseName) {
    return !baseName.empty() && baseName != "." && baseName != ".." &&
           baseName.find('\0') == std::string::npos;
}

bool SbxNameMatches(const std::string& storedName, const std::string& requestedName) {
    const size_t length = storedName.size();
    if (length < BaseName(requestedName).size() || length > requestedName.size()) return false;
    const size_t from = requestedName.size() - length;
    for (size_t i = 0; i < length; ++i) {
        if (FoldForMatch(storedName[i]) != FoldForMatch(requestedName[from + i])) return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Decompression

bool UnpackLzo1x(const uint8_t* packed, size_t packedSize, uint32_t unpackedSize, std::vector<uint8_t>& out) {
    if (!InitLzo()) return false;
    if (unpackedSize > kMaxEntryBytes || unpackedSize > packedSize * static_cast<uint64_t>(kMaxLzoExpansion)) {
        return false;
    }
    // One spare byte so that a stream longer than announced shows as an overrun, not as a fit.
    out.assign(static_cast<size_t>(unpackedSize) + 1, 0);
    lzo_uint produced = out.size();
    const int result = lzo1x_decompress_safe(packed, packedSize, out.data(), &produced, nullptr);
    if (result != LZO_E_OK || produced != unpackedSize) {
        out.clear();
        return false;
    }
    out.resize(unpackedSize);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reader

SbxReader::~SbxReader() {
    if (file_ != nullptr) std::fclose(file_);
}

bool SbxReader::ReadAt(int64_t position, void* into, size_t count) {
    if (position < 0 || position > fileSize_ || static_cast<int64_t>(count) > fileSize_ - position) return false;
    if (fseeko(file_, static_cast<off_t>(position), SEEK_SET) != 0) return false;
    return std::fread(into, 1, count, file_) == count;
}

SbxOpen SbxReader::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    struct stat info;
    if (file_ == nullptr || fstat(fileno(file_), &info) != 0 || !S_ISREG(info.st_mode)) return SbxOpen::CannotOpen;
    fileSize_ = info.st_size;
    uint8_t trailer[kSbxTrailerBytes];
    if (!ReadAt(fileSize_ - kSbxTrailerBytes, trailer, sizeof trailer)) return SbxOpen::NoTrailer;
    if (std::memcmp(trailer, kSbxMagic, sizeof kSbxMagic) != 0) return SbxOpen::NotAnArchive;
    const int32_t directoryOffset = I32At(trailer + 3);
    fromEnd_ = directoryOffset < 0;
    directoryAt_ = fromEnd_ ? fileSize_ + directoryOffset : directoryOffset;
    if (directoryAt_ < 0 || directoryAt_ >= fileSize_) return SbxOpen::BadDirectory;
    return SbxOpen::Ok;
}

bool SbxReader::NextEntry(SbxEntry& entry) {
    uint8_t nameLength = 0;
    if (file_ == nullptr || !ReadAt(directoryAt_, &nameLength, 1) || nameLength == 0) return false;
    char name[256];
    uint8_t numbers[8];
    if (!ReadAt(directoryAt_ + 1, name, nameLength) || !ReadAt(directoryAt_ + 1 + nameLength, numbers, 8)) {
        return false;
    }
    directoryAt_ += 1 + nameLength + 8;
    entry.name.assign(name, nameLength);
    entry.dataOffset = I32At(numbers);
    entry.storedSize = I32At(numbers + 4);
    entry.dataStart = fromEnd_ ? fileSize_ + entry.dataOffset : entry.dataOffset;
    return true;
}

bool SbxReader::ReadBlock(const SbxEntry& entry, std::vector<uint8_t>& block, std::string& reason) {
    if (entry.storedSize < 4) {
        reason = "entry \"" + entry.name + "\" is too small to hold its size";
        return false;
    }
    if (entry.dataStart < 0 || entry.dataStart > fileSize_ || entry.storedSize > fileSize_ - entry.dataStart) {
        reason = "entry \"" + entry.name + "\" lies outside the archive";
        return false;
    }
    block.resize(static_cast<size_t>(entry.storedSize));
    if (!ReadAt(entry.dataStart, block.data(), block.size())) {
        reason = "entry \"" + entry.name + "\" cannot be read";
        return false;
    }
    return true;
}

bool SbxReader::ClaimedSize(const SbxEntry& entry, uint32_t& size) {
    uint8_t raw[4];
    if (entry.storedSize < 4 || !ReadAt(entry.dataStart, raw, 4)) return false;
    size = static_cast<uint32_t>(I32At(raw));
    return true;
}

bool SbxReader::Unpack(const SbxEntry& entry, std::vector<uint8_t>& bytes, std::string& reason) {
    std::vector<uint8_t> block;
    if (!ReadBlock(entry, block, reason)) return false;
    const uint32_t unpackedSize = static_cast<uint32_t>(I32At(block.data()));
    if (unpackedSize > kMaxEntryBytes) {
        reason = "entry \"" + entry.name + "\" claims an unpacked size above 64 MiB";
        return false;
    }
    if (!UnpackLzo1x(block.data() + 4, block.size() - 4, unpackedSize, bytes)) {
        reason = "entry \"" + entry.name + "\" is damaged (LZO1X data does not unpack to its size)";
        return false;
    }
    return true;
}
