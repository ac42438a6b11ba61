// levelc: compiles level sources into the game's 1200-byte level files, shows level files as
// text, creates the game's data files for a new player and fills a level's high-score table.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>
#include <sys/stat.h>

#include "level_check.h"
#include "level_set.h"
#include "level_source.h"
#include "score_table.h"

namespace {

const char* kUsage =
    "usage: levelc compile SOURCE.txt OUT.bin   compile a level source into a level file\n"
    "       levelc show LEVEL.bin               print a level file as level source\n"
    "       levelc check SOURCE.txt...          report design problems; levelNN.txt is checked\n"
    "                                           against the gems level NN demands\n"
    "       levelc init-data DIR                create LevC.bin, Player.bin, Name.bin and Data.bin\n"
    "                                           in DIR for a new player (existing files are kept)\n"
    "       levelc stats DIR                    measure the set DIR/level01..50.txt with its\n"
    "                                           solutions (DIR/solutions) against the set's rules\n"
    "       levelc doc DIR OUT.md [--check]     write the levels document (--check: only say\n"
    "                                           whether OUT.md is up to date)\n"
    "       levelc scores DIR LEVEL [NAME SCORE]... replace level LEVEL's high-score table in DIR,\n"
    "                                           best first (a score on level N opens level N + 1)\n";

bool ReadWholeFile(const std::string& path, std::string& contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    contents.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t size) {
    std::string temporary = path + ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(data, 1, size, out) == size;
    ok = (std::fclose(out) == 0) && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}

int Compile(const std::string& sourcePath, const std::string& outPath) {
    std::string source, error;
    if (!ReadWholeFile(sourcePath, source)) {
        std::fprintf(stderr, "levelc: cannot read %s\n", sourcePath.c_str());
        return 1;
    }
    LevelImage image;
    if (!CompileLevelSource(source, image, error)) {
        std::fprintf(stderr, "levelc: %s: %s\n", sourcePath.c_str(), error.c_str());
        return 1;
    }
    std::string problem = CheckLevel(image);
    if (!problem.empty()) {
        std::fprintf(stderr, "levelc: %s: %s\n", sourcePath.c_str(), problem.c_str());
        return 1;
    }
    if (!WriteWholeFile(outPath, image.bytes.data(), image.bytes.size())) {
        std::fprintf(stderr, "levelc: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

int Show(const std::string& path) {
    std::string contents;
    if (!ReadWholeFile(path, contents)) {
        std::fprintf(stderr, "levelc: cannot read %s\n", path.c_str());
        return 1;
    }
    if (contents.size() != kLevelFileBytes) {
        std::fprintf(stderr, "levelc: %s: a level file has 1200 bytes, this one has %zu\n", path.c_str(),
                     contents.size());
        return 1;
    }
    LevelImage image;
    std::memcpy(image.bytes.data(), contents.data(), kLevelFileBytes);
    std::fputs(DecompileLevel(image).c_str(), stdout);
    return 0;
}

// "assets/levels/level07.txt" is level 7; other names skip the gem count.
int LevelNumberOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    int number = 0;
    return std::sscanf(name.c_str(), "level%d.txt", &number) == 1 ? number : 0;
}

int Check(int count, char** paths) {
    int status = 0;
    for (int i = 0; i < count; ++i) {
        std::string source, error;
        LevelImage image;
        if (!ReadWholeFile(paths[i], source)) error = "cannot read it";
        else if (CompileLevelSource(source, image, error)) error = CheckLevel(image);
        std::vector<std::string> problems;
        if (!error.empty()) problems.push_back(error);
        else problems = LevelDesignProblems(image, LevelNumberOf(paths[i]));
        for (const std::string& problem : problems) std::fprintf(stderr, "levelc: %s: %s\n", paths[i], problem.c_str());
        if (!problems.empty()) status = 1;
    }
    return status;
}

// A new player: level 1 selected, no name, empty name and score tables.
int InitData(const std::string& directory) {
    mkdir(directory.c_str(), 0755);
    struct DataFile {
        const char* name;
        size_t size;
        unsigned char firstByte;
    } files[] = {{"LevC.bin", 1, 1}, {"Player.bin", 8, 0}, {"Name.bin", 6400, 0}, {"Data.bin", 3200, 0}};
    for (const DataFile& file : files) {
        std::string path = directory + "/" + file.name;
        struct stat info;
        if (stat(path.c_str(), &info) == 0) continue;
        std::string bytes(file.size, '\0');
        bytes[0] = static_cast<char>(file.firstByte);
        if (!WriteWholeFile(path, bytes.data(), bytes.size())) {
            std::fprintf(stderr, "levelc: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int Stats(const std::string& levelsDir) {
    const std::vector<LevelFacts> levels = MeasureLevelSet(levelsDir, true);
    const std::vector<RuleResult> rules = CheckSetRules(levels);
    std::fputs(StatsTable(levels).c_str(), stdout);
    std::fputs(RulesTable(rules).c_str(), stdout);
    for (const RuleResult& rule : rules)
        if (!rule.ok) return 1;
    return 0;
}

int Document(const std::string& levelsDir, const std::string& outPath, bool checkOnly) {
    const std::string document = LevelsDocument(MeasureLevelSet(levelsDir, false));
    std::string current;
    const bool same = ReadWholeFile(outPath, current) && current == document;
    if (checkOnly) {
        if (!same)
            std::fprintf(stderr, "levelc: %s is not up to date with the levels and their solutions: "
                                 "run cmake --build build --target levels-doc\n", outPath.c_str());
        return same ? 0 : 1;
    }
    if (!same && !WriteWholeFile(outPath, document.data(), document.size())) {
        std::fprintf(stderr, "levelc: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}

int Scores(const std::string& directory, const std::string& levelText, std::vector<std::string> namesAndScores) {
    const bool digits = !levelText.empty() && levelText.size() <= 3 && levelText.find_first_not_of("0123456789") == std::string::npos;
    std::string error;
    if (WriteScoreTable(directory, digits ? std::stoi(levelText) : 0, namesAndScores, error)) return 0;
    std::fprintf(stderr, "levelc: %s\n", error.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "compile" && argc == 4) return Compile(argv[2], argv[3]);
    if (command == "show" && argc == 3) return Show(argv[2]);
    if (command == "init-data" && argc == 3) return InitData(argv[2]);
    if (command == "check" && argc >= 3) return Check(argc - 2, argv + 2);
    if (command == "stats" && argc == 3) return Stats(argv[2]);
    if (command == "doc" && (argc == 4 || (argc == 5 && std::strcmp(argv[4], "--check") == 0)))
        return Document(argv[2], argv[3], argc == 5);
    if (command == "scores" && argc >= 4) return Scores(argv[2], argv[3], std::vector<std::string>(argv + 4, argv + argc));
    bool askedForHelp = command == "--help" || command == "-h";
    std::fputs(kUsage, askedForHelp ? stdout : stderr);
    return askedForHelp ? 0 : 2;
}
