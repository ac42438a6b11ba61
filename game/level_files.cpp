// Level files "./Maps/MapN-1.bin", the selected-level file "LevC.bin" and the gems table.
#include "core/file_channels.h"
#include "game/data_files.h"
#include "game/gems_table.h"
#include "game/state.h"

void LoadMaps() { LoadMapFile(LevelFilePath(CurrentLevel).c_str()); }

void LoadMapFile(const char* path)
{
    FileOpen(DataChannel, path, OpenForReading);
    for (double i = 0; i <= 1199; i++) FileReadByte(DataChannel, MapBuffer[i]);
    FileClose(DataChannel);
    CopyMap();
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
