#include "sbx_writer.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>

#include <lzo/lzo1x.h>

#include "core/media_archive_format.h"

namespace {

constexpr int64_t kMaxArchiveBytes = 0x7FFFFFFF;

void AppendI32(std::vector<uint8_t>& out, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(u >> shift));
}

void PutI32(std::vector<uint8_t>& out, size_t at, int32_t value) {
    const uint32_t u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::vector<uint8_t> PackEntryBlock(const std::vector<uint8_t>& bytes) {
    static std::once_flag once;
    std::call_once(once, [] { lzo_init(); });
    // Worst case of LZO1X-1 on incompressible data.
    std::vector<uint8_t> block(4 + bytes.size() + bytes.size() / 16 + 64 + 3);
    std::vector<uint8_t> workMemory(LZO1X_1_MEM_COMPRESS);
    lzo_uint packedSize = 0;
    lzo1x_1_compress(bytes.data(), bytes.size(), block.data() + 4, &packedSize, workMemory.data());
    PutI32(block, 0, static_cast<int32_t>(bytes.size()));
    block.resize(4 + packedSize);
    return block;
}

bool BuildSbxArchive(const std::vector<SbxInput>& inputs, const SbxLayout& layout,
                     std::vector<uint8_t>& archive, std::string& error) {
    archive.assign(layout.leadingBytes, 0);
    std::vector<int64_t> starts, sizes;
    for (const SbxInput& input : inputs) {
        if (input.storedName.empty() || input.storedName.size() > 255) {
            error = "entry name \"" + input.storedName + "\" must be 1 to 255 bytes long";
            return false;
        }
        const std::vector<uint8_t> block = PackEntryBlock(input.bytes);
        starts.push_back(static_cast<int64_t>(archive.size()));
        sizes.push_back(static_cast<int64_t>(block.size()));
        archive.insert(archive.end(), block.begin(), block.end());
    }
    const int64_t directoryStart = static_cast<int64_t>(archive.size());
    for (size_t i = 0; i < inputs.size(); ++i) {
        archive.push_back(static_cast<uint8_t>(inputs[i].storedName.size()));
        archive.insert(archive.end(), inputs[i].storedName.begin(), inputs[i].storedName.end());
        AppendI32(archive, 0);  // the offset, known once the file size is
        AppendI32(archive, static_cast<int32_t>(sizes[i]));
    }
    archive.push_back(0);
    archive.insert(archive.end(), kSbxMagic, kSbxMagic + sizeof kSbxMagic);
    AppendI32(archive, 0);
    const int64_t fileSize = static_cast<int64_t>(archive.size());
    if (fileSize > kMaxArchiveBytes) {
        error = "the archive would be larger than 2 GiB";
        return false;
    }
    // From the end, every offset is counted back from the file size.
    const int64_t base = layout.offsets == SbxOffsets::FromEnd ? fileSize : 0;
    size_t at = static_cast<size_t>(directoryStart);
    for (size_t i = 0; i < inputs.size(); ++i) {
        at += 1 + inputs[i].storedName.size();
        PutI32(archive, at, static_cast<int32_t>(starts[i] - base));
        at += 8;
    }
    PutI32(archive, archive.size() - 4, static_cast<int32_t>(directoryStart - base));
    return true;
}

bool SbxReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    bytes.clear();
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.insert(bytes.end(), block, block + got);
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool SbxWriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

bool PackFilesIntoArchive(const std::string& archivePath, const std::vector<std::string>& files,
                          SbxOffsets offsets, std::string& error) {
    std::vector<SbxInput> inputs;
    std::set<std::string> seen;
    for (const std::string& file : files) {
        SbxInput input;
        input.storedName = BaseName(file);
        if (!IsUsableFileName(input.storedName)) {
            error = "\"" + file + "\" has no file name to store";
            return false;
        }
        // Lookups ignore case, so names differing only in case would hide each other.
        if (!seen.insert(LowerCase(input.storedName)).second) {
            error = "two files are named \"" + input.storedName + "\"";
            return false;
        }
        if (!SbxReadFile(file, input.bytes)) {
            error = "cannot read \"" + file + "\": " + std::strerror(errno);
            return false;
        }
        if (input.bytes.size() > kMaxEntryBytes) {
            error = "\"" + file + "\" is larger than 64 MiB";
            return false;
        }
        inputs.push_back(std::move(input));
    }
    std::vector<uint8_t> archive;
    if (!BuildSbxArchive(inputs, SbxLayout{offsets, 0}, archive, error)) return false;
    const std::string partial = archivePath + ".partial";
    if (!SbxWriteFile(partial, archive) || std::rename(partial.c_str(), archivePath.c_str()) != 0) {
        error = "cannot write \"" + archivePath + "\": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}
