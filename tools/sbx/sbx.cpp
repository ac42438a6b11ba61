// sbx: packs, lists and extracts "sbX" media archives such as Media.sbx.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/media_archive_format.h"
#include "sbx_writer.h"

namespace {

const char kUsage[] =
    "usage: sbx pack [--from-end] ARCHIVE FILE...   pack files under their plain names (LZO1X-1)\n"
    "       sbx list ARCHIVE                        name, offset, stored size, unpacked size\n"
    "       sbx extract ARCHIVE NAME [OUT]          unpack one entry (NAME matched as the game does)\n"
    "       sbx --help\n"
    "--from-end writes the directory and data offsets counted back from the end of the file.\n";

// Names inside an archive may hold any byte; keep control bytes off the terminal.
std::string Printable(std::string text) {
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    }
    return text;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "sbx: %s\n", Printable(message).c_str());
    return 1;
}

int UsageError(const std::string& message) {
    std::fprintf(stderr, "sbx: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool OpenArchive(SbxReader& reader, const std::string& path, std::string& error) {
    switch (reader.Open(path)) {
    case SbxOpen::Ok: return true;
    case SbxOpen::CannotOpen: error = "cannot open \"" + path + "\""; break;
    case SbxOpen::NoTrailer: error = "\"" + path + "\" is too short to be an archive"; break;
    case SbxOpen::NotAnArchive: error = "\"" + path + "\" is not an archive (no \"sbX\" trailer)"; break;
    case SbxOpen::BadDirectory: error = "\"" + path + "\" is damaged (directory outside the file)"; break;
    }
    return false;
}

int Pack(const std::vector<std::string>& args) {
    size_t next = 0;
    SbxOffsets offsets = SbxOffsets::FromStart;
    if (next < args.size() && args[next] == "--from-end") {
        offsets = SbxOffsets::FromEnd;
        ++next;
    }
    if (args.size() < next + 2) return UsageError("pack needs an archive and at least one file");
    const std::vector<std::string> files(args.begin() + next + 1, args.end());
    std::string error;
    if (!PackFilesIntoArchive(args[next], files, offsets, error)) return Fail(error);
    return 0;
}

int List(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("list needs exactly one archive");
    SbxReader reader;
    std::string error;
    if (!OpenArchive(reader, args[0], error)) return Fail(error);
    std::printf("%-32s %12s %12s %12s\n", "name", "offset", "stored", "unpacked");
    SbxEntry entry;
    while (reader.NextEntry(entry)) {
        uint32_t unpacked = 0;
        const std::string unpackedText = reader.ClaimedSize(entry, unpacked) ? std::to_string(unpacked) : "?";
        std::printf("%-32s %12d %12d %12s\n", Printable(entry.name).c_str(), entry.dataOffset, entry.storedSize,
                    unpackedText.c_str());
    }
    return 0;
}

int Extract(const std::vector<std::string>& args) {
    if (args.size() != 2 && args.size() != 3) return UsageError("extract needs an archive, a name and maybe an output file");
    SbxReader reader;
    std::string error;
    if (!OpenArchive(reader, args[0], error)) return Fail(error);
    SbxEntry entry;
    bool found = false;
    while (!found && reader.NextEntry(entry)) found = SbxNameMatches(entry.name, args[1]);
    if (!found) return Fail("no entry matches \"" + args[1] + "\"");
    const std::string out = args.size() == 3 ? args[2] : BaseName(entry.name);
    if (!IsUsableFileName(BaseName(out))) return Fail("entry \"" + entry.name + "\" has no usable file name; give OUT");
    std::vector<uint8_t> bytes;
    if (!reader.Unpack(entry, bytes, error)) return Fail(error);
    if (!SbxWriteFile(out, bytes)) return Fail("cannot write \"" + out + "\": " + std::strerror(errno));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return UsageError("no command given");
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "pack") return Pack(args);
    if (command == "list") return List(args);
    if (command == "extract") return Extract(args);
    return UsageError("unknown command \"" + command + "\"");
}
