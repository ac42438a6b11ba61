// Working directories and level files for game file tests.
#include "tests/game/game_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include "game/cave_legend.h"

MapsDirectory::MapsDirectory()
{
    char cwd[4096];
    previous_ = getcwd(cwd, sizeof cwd) ? cwd : ".";
    mkdir(dir_.File("Maps").c_str(), 0755);
    if (chdir(dir_.path().c_str()) != 0) previous_.clear();
}

MapsDirectory::~MapsDirectory()
{
    if (!previous_.empty() && chdir(previous_.c_str()) != 0) previous_.clear();
}

void MapsDirectory::Write(const std::string& name, const std::vector<unsigned char>& bytes) const
{
    WriteFileBytes(File(name), bytes);
}

std::vector<unsigned char> MapsDirectory::Read(const std::string& name) const
{
    return ReadFileBytes(File(name));
}

std::vector<unsigned char> LevelFileBytes(const std::vector<std::string>& caveRows,
                                          const std::vector<unsigned char>& packs,
                                          unsigned char filler)
{
    std::vector<unsigned char> bytes(1200, filler);
    for (int row = 0; row < 15; row++) {
        for (int column = 0; column < 20; column++) {
            char symbol = '#';
            if (row < static_cast<int>(caveRows.size()) && column < static_cast<int>(caveRows[row].size())) {
                symbol = caveRows[row][column];
            }
            bytes[row * 40 + column] = static_cast<unsigned char>(cave_legend::CodeOf(symbol));
        }
    }
    for (size_t k = 0; k < packs.size() && k < 90; k++) bytes[600 + k] = packs[k];
    return bytes;
}
