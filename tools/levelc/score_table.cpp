#include "score_table.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace {

constexpr size_t kPlaces = 8, kNameBytes = 8, kLevels = 100;
constexpr size_t kNameFileBytes = kLevels * kPlaces * kNameBytes, kScoreFileBytes = kLevels * kPlaces * 4;

struct Entry {
    std::string name;
    unsigned long long score = 0;
};

bool ReadExactly(const std::string& path, size_t size, std::string& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (in) bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (!in.is_open() || bytes.size() != size)
        error = path + ": not a data file of " + std::to_string(size) + " bytes (levelc init-data makes one)";
    return error.empty();
}

bool ParseEntries(const std::vector<std::string>& args, std::vector<Entry>& entries, std::string& error) {
    if (args.size() % 2 != 0) return error = "a name without its score", false;
    if (args.size() / 2 > kPlaces) return error = "a table has 8 places", false;
    for (size_t i = 0; i < args.size(); i += 2) {
        Entry entry{args[i], 0};
        if (entry.name.size() > kNameBytes || entry.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            return error = "'" + entry.name + "': a name is up to 8 small letters a to z", false;
        const std::string& text = args[i + 1];
        const bool digits = !text.empty() && text.size() <= 10 && text.find_first_not_of("0123456789") == std::string::npos;
        if (digits) entry.score = std::stoull(text);
        if (!digits || entry.score == 0 || entry.score > 4294967295ull)
            return error = "'" + text + "': a score is a whole number from 1 to 4294967295", false;
        if (!entries.empty() && entry.score > entries.back().score)
            return error = "scores go from the best down: " + text + " follows " + std::to_string(entries.back().score), false;
        entries.push_back(entry);
    }
    return true;
}

// Both temporary files are complete before either replaces its original.
bool ReplaceBoth(const std::string paths[2], const std::string contents[2], std::string& error) {
    bool ok = true;
    for (int i = 0; i < 2 && ok; ++i) {
        std::ofstream out(paths[i] + ".tmp", std::ios::binary | std::ios::trunc);
        out.write(contents[i].data(), std::streamsize(contents[i].size()));
        out.close();
        ok = !out.fail();
    }
    for (int i = 0; i < 2 && ok; ++i) ok = std::rename((paths[i] + ".tmp").c_str(), paths[i].c_str()) == 0;
    for (int i = 0; i < 2; ++i) std::remove((paths[i] + ".tmp").c_str());
    if (!ok) error = "cannot write " + paths[0] + " and " + paths[1];
    return ok;
}

}  // namespace

bool WriteScoreTable(const std::string& directory, int level, const std::vector<std::string>& namesAndScores,
                     std::string& error) {
    error.clear();
    if (level < 1 || level > int(kLevels)) return error = "levels are numbered 1 to 100", false;
    std::vector<Entry> entries;
    if (!ParseEntries(namesAndScores, entries, error)) return false;
    const std::string paths[2] = {directory + "/Name.bin", directory + "/Data.bin"};
    std::string files[2];
    if (!ReadExactly(paths[0], kNameFileBytes, files[0], error) || !ReadExactly(paths[1], kScoreFileBytes, files[1], error))
        return false;
    for (size_t place = 0; place < kPlaces; ++place) {
        const size_t record = size_t(level - 1) * kPlaces + place;
        const Entry entry = place < entries.size() ? entries[place] : Entry{};
        std::string name = entry.name;
        name.resize(kNameBytes, '\0');
        files[0].replace(record * kNameBytes, kNameBytes, name);
        for (size_t b = 0; b < 4; ++b) files[1][record * 4 + b] = char((entry.score >> (8 * b)) & 0xFF);
    }
    return ReplaceBoth(paths, files, error);
}
