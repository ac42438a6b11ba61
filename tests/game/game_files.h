// Helpers for tests of the game's data files: a private working directory with a "Maps"
// directory, made current for the life of the object, and level files built in memory.
// Depends on tests/support/temp_files.h and the cave legend.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "game/cave_legend.h"
#include "tests/support/temp_files.h"

class MapsDirectory {
public:
    MapsDirectory()
    {
        char cwd[4096];
        previous_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
        mkdir(dir_.File("Maps").c_str(), 0755);
        if (chdir(dir_.path().c_str()) != 0) previous_.clear();
    }
    ~MapsDirectory()
    {
        if (!previous_.empty() && chdir(previous_.c_str()) != 0) previous_.clear();
    }
    MapsDirectory(const MapsDirectory&) = delete;
    MapsDirectory& operator=(const MapsDirectory&) = delete;

    std::string File(const std::string& name) const { return dir_.File("Maps/" + name); }
    void Write(const std::string& name, const std::vector<unsigned char>& bytes) const { WriteFileBytes(File(name), bytes); }
    std::vector<unsigned char> Read(const std::string& name) const { return ReadFileBytes(File(name)); }

private:
    ScopedTempDir dir_;
    std::string previous_;
};

// A 1200-byte level file: the cave rows (legend characters, padded with wall) in the top-left
// 20 x 15 block of the 40-column grid, the rest 0.
inline std::vector<unsigned char> LevelFileBytes(const std::vector<std::string>& caveRows)
{
    std::vector<unsigned char> bytes(1200, 0);
    for (int i = 0; i < 300; i++) {
        const size_t row = i / 20, column = i % 20;
        const char symbol = row < caveRows.size() && column < caveRows[row].size() ? caveRows[row][column] : '#';
        bytes[row * 40 + column] = static_cast<unsigned char>(cave_legend::CodeOf(symbol));
    }
    return bytes;
}
