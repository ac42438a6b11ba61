// Writing "sbX" media archives: LZO1X-1 compressed entries, a directory and the 7-byte trailer,
// with offsets from the start or (negative) from the end of the file. The sbx tool and the tests
// build archives with this. Depends on liblzo2 and core's archive format constants.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct SbxInput {
    std::string storedName;  // written as given (the tool passes plain file names)
    std::vector<uint8_t> bytes;
};

enum class SbxOffsets { FromStart, FromEnd };

struct SbxLayout {
    SbxOffsets offsets = SbxOffsets::FromStart;
    size_t leadingBytes = 0;  // zero bytes before the first entry's data
};

// The data block of one entry: the 4-byte unpacked size, then the LZO1X-1 stream.
std::vector<uint8_t> PackEntryBlock(const std::vector<uint8_t>& bytes);

// The archive image; false with a reason for a name of 0 or more than 255 bytes or an
// archive beyond 2 GiB.
bool BuildSbxArchive(const std::vector<SbxInput>& inputs, const SbxLayout& layout,
                     std::vector<uint8_t>& archive, std::string& error);

// Packs files under their plain file names into `archivePath` (written to a new file, then
// renamed over the old one). Two files of the same name are refused.
bool PackFilesIntoArchive(const std::string& archivePath, const std::vector<std::string>& files,
                          SbxOffsets offsets, std::string& error);

bool SbxReadFile(const std::string& path, std::vector<uint8_t>& bytes);
bool SbxWriteFile(const std::string& path, const std::vector<uint8_t>& bytes);
