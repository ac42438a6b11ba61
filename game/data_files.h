// Where each data file of the game lives and how it is opened: the level files in "./Maps"
// beside the program; the four save files there too, or, when that folder is read-only for the
// player, in the player's own folder ($XDG_DATA_HOME/tumbrel), filled from the shipped ones.
// Depends on core (file channels, save groups); no platform code, so every port can use it.
#pragma once
#include <cstdint>
#include <string>

// The game moves every data file through channel 1, whole, within one routine.
constexpr double DataChannel = 1;
constexpr double OpenForReading = 1;
constexpr double OpenAnew = 0;

enum class SaveFile { LevelChoice, Player, Names, Scores };  // LevC, Player, Name and Data.bin

// "./Maps/Map3-1.bin" (the folder given in place of ".").
std::string LevelFilePath(double level, const std::string& programDirectory = ".");
// CRC-32 of a level file; false when it cannot be read.
bool LevelFileCrc(int level, uint32_t& crc, const std::string& programDirectory = ".");
// "./Maps/Data.bin" until SetUpSaveFiles chooses another place.
const char* SaveFilePath(SaveFile file);

// At start, in the program's directory. "./Maps" keeps the saves when the player may write there;
// otherwise the player's folder does, made and filled from "./Maps" on the first start that may
// save. A run that may not save changes nothing and reads the shipped file for any it lacks.
// False, with one line in `error`, when the player's folder cannot be made or filled.
bool SetUpSaveFiles(bool mayWrite, std::string& error);
// Keeps the saves in `folder` whatever "./Maps" allows (a port with its own storage); "" undoes it.
void UseSaveFolder(const std::string& folder);
// $XDG_DATA_HOME/tumbrel when that is an absolute path, else HOME/.local/share/tumbrel.
std::string PlayerSaveFolder(const char* xdgDataHome, const char* home);

// Name.bin and Data.bin of a finished level are replaced together or not at all.
void BeginSavingScores();
void FinishSavingScores();
