// Level files "./Maps/MapN-1.bin", the selected-level file "LevC.bin" and the gems table.
#include <string>

#include "core/errors.h"
#include "core/file_channels.h"
#include "game/data_files.h"
#include "game/gems_table.h"
#include "game/state.h"

namespace {

// The walls that nothing moves into or through (the level tool demands 15 to 18 for the ring).
bool IsRingWall(double code) { return code == CellWall7 || (code >= CellBlink && code <= CellWall18); }

bool Falls(double code)
{
    return code == CellStone || code == CellGem || code == CellSaphir || code == CellStoneFalling ||
           code == CellGemFalling || code == CellSaphirFalling;
}

std::string CellName(int column, int row) { return "column " + std::to_string(column) + ", row " + std::to_string(row); }

// Why the first step of this cave must index outside it, or "".
std::string FatalDamage()
{
    bool player = false;
    for (int row = 1; row <= 13; row++)
        for (int column = 1; column <= 18; column++) player = player || Cave.at(row * 20 + column) == CellPlayer;
    if (!player) return "no player (code 20) inside the outer wall";
    for (int column = 1; column <= 19; column++)
        if (Falls(Cave.at(280 + column)))
            return "a stone, gem or saphir in the bottom row would fall out of the cave (" + CellName(column, 14) + ")";
    return "";
}

// The first cell of the outer wall that is not wall, or "".
std::string OpenWall()
{
    for (int row = 0; row <= 14; row++) {
        for (int column = 0; column <= 19; column++) {
            const bool ring = row == 0 || row == 14 || column == 0 || column == 19;
            if (ring && !IsRingWall(Cave.at(row * 20 + column)))
                return "the outer wall is open at " + CellName(column, row);
        }
    }
    return "";
}

// The rules look one cell beyond every piece they move and rely on the outer wall: a damaged
// level would end in an index error, at the first step or later. What the first step is sure to
// hit ends the run now, with the same error; any other gap names itself in a later error.
void CheckDamage(const char* path)
{
    const std::string fatal = FatalDamage();
    if (!fatal.empty()) {
        RecordErrorDetail(ErrIndexRange, std::string(path) + " is damaged: " + fatal);
        RuntimeErrorExit();
    }
    const std::string open = OpenWall();
    SetIndexErrorHint(open.empty() ? "" : std::string(path) + " is damaged: " + open);
}

}  // namespace

void LoadMaps() { LoadMapFile(LevelFilePath(CurrentLevel).c_str()); }

void LoadMapFile(const char* path)
{
    FileOpen(DataChannel, path, OpenForReading);
    for (double i = 0; i <= 1199; i++) FileReadByte(DataChannel, MapBuffer[i]);
    FileClose(DataChannel);
    CopyMap();
    CheckDamage(path);
}

// The cave is the top-left 20 x 15 block of the file's 40-column grid.
void CopyMap()
{
    for (double row = 0; row <= 14; row++) {
        for (double column = 0; column <= 19; column++) {
            Cave[row * 20 + column] = MapBuffer[row * 40 + column];
        }
    }
}

// A damaged LevC.bin could name a level the menu cannot reach and whose tables do not exist;
// such a value starts the game at level 1 instead of ending it at the first level start.
void LoadMapCount()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::LevelChoice), OpenForReading);
    FileReadByte(DataChannel, CurrentLevel);
    FileClose(DataChannel);
    if (CurrentLevel < 1 || CurrentLevel > 50) CurrentLevel = 1;
}

void SaveMapCount()
{
    FileOpen(DataChannel, SaveFilePath(SaveFile::LevelChoice), OpenAnew);
    FileWriteByte(DataChannel, CurrentLevel);
    FileClose(DataChannel);
}

void MakeGems()
{
    for (double level = 1; level <= 50; level++) {
        GemsPerLevel[level] = kGemsTable[static_cast<int>(level) - 1];
    }
}
