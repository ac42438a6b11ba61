// Helpers for tests of the game's data files: a private working directory with a "Maps"
// directory, made current for the life of the object, and level files built in memory.
// Depends on tests/support/temp_files.h.
#pragma once
#include <string>
#include <vector>

#include "tests/support/temp_files.h"

class MapsDirectory {
public:
    MapsDirectory();
    ~MapsDirectory();
    MapsDirectory(const MapsDirectory&) = delete;
    MapsDirectory& operator=(const MapsDirectory&) = delete;

    std::string File(const std::string& name) const { return dir_.File("Maps/" + name); }
    void Write(const std::string& name, const std::vector<unsigned char>& bytes) const;
    std::vector<unsigned char> Read(const std::string& name) const;

private:
    ScopedTempDir dir_;
    std::string previous_;
};

// A 1200-byte level file: the cave rows (legend characters, padded with wall) in the top-left
// 20 x 15 block of the 40-column grid, the yam-yam packs at 600..689, the rest `filler`.
std::vector<unsigned char> LevelFileBytes(const std::vector<std::string>& caveRows,
                                          const std::vector<unsigned char>& packs = {},
                                          unsigned char filler = 0);
