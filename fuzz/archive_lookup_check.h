// One fuzz input through the media archive lookup: the bytes become the archive file, then a few
// names are resolved. Shared by the libFuzzer target and the corpus replay test. Returns an empty
// text, or what went wrong.
#pragma once
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/media_archive.h"
#include "core/media_archive_format.h"

namespace fuzzcheck {

inline std::vector<std::string> FilesIn(const std::string& directory) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(directory.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    return names;
}

// `workDirectory` holds the archive; the temporary directory ($TMPDIR) must be empty and private.
inline std::string CheckArchiveLookup(const uint8_t* data, size_t size, const std::string& workDirectory,
                                      const std::string& temporaryDirectory) {
    const std::string archive = workDirectory + "/fuzz.sbx";
    FILE* file = std::fopen(archive.c_str(), "wb");
    if (file == nullptr) return "cannot write " + archive;
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    // The fixed names of the game plus the first stored names, so the fuzzer reaches extraction.
    std::vector<std::string> names = {"Media/Sprites.png", "Media/Bell.wav", "../x", "Media/"};
    {
        SbxReader reader;
        SbxEntry entry;
        if (reader.Open(archive) == SbxOpen::Ok) {
            for (int i = 0; i < 4 && reader.NextEntry(entry); ++i) names.push_back("nowhere/" + entry.name);
        }
    }
    SetMediaArchive(archive, "");
    for (const std::string& name : names) {
        std::string path;
        const bool found = ResolveMediaFile(MediaSlotMedia, name, path);
        const std::vector<std::string> left = FilesIn(temporaryDirectory);
        if (!found) {
            if (!path.empty()) return "failed lookup of " + name + " left a path";
            if (!left.empty()) return "failed lookup of " + name + " left a file";
            continue;
        }
        // One private folder right in the temporary directory, one file right in it.
        const size_t folderEnd = path.find('/', temporaryDirectory.size() + 1);
        if (path.rfind(temporaryDirectory + "/", 0) != 0 || folderEnd == std::string::npos)
            return "extracted outside: " + path;
        if (path.compare(folderEnd, 4, "/sbx") != 0 || path.find('/', folderEnd + 1) != std::string::npos)
            return "directory in " + path;
        struct stat info;
        if (stat(path.substr(0, folderEnd).c_str(), &info) != 0 || (info.st_mode & 0777) != 0700)
            return "folder not private: " + path;
        if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return "no regular file at " + path;
        if (left.size() != 1 || FilesIn(path.substr(0, folderEnd)).size() != 1) return "more than one temporary file";
    }
    SetMediaArchive(archive, "");
    if (!FilesIn(temporaryDirectory).empty()) return "temporary file outlived SetMediaArchive";
    return "";
}

}  // namespace fuzzcheck
