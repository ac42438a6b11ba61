// The game's whole shared state: cave geometry, cell codes, the Cave and its fourteen side
// arrays, the per-level globals, the start-up tables and the menu's globals.
// Depends on the runtime core (numbers, RtString, bounds-checked RtArray).
// Game routines take no arguments and return nothing (void): they talk only through this state.
// The few helpers that the rules give arguments (StartRoll, BlastCell, ...) take doubles.
#pragma once
#include "core/rt_array.h"
#include "core/rt_string.h"

// ---- Geometry -------------------------------------------------------------------------------
constexpr double CaveWidth = 20;
constexpr double CaveHeight = 15;
constexpr double TileSize = 16;
constexpr double CaveCells = 300;

// ---- Cell codes -----------------------------------------------------------------------------
constexpr double CellEmpty = 0;
constexpr double CellEarth = 1;
constexpr double CellStone = 2;
constexpr double CellGem = 3;
constexpr double CellSaphir = 4;
constexpr double CellDynamite = 5;
constexpr double CellExit = 6;
constexpr double CellWall7 = 7;
constexpr double CellKey1 = 8;
constexpr double CellWaxStill = 9;
constexpr double CellKey2 = 10;
constexpr double CellKey3 = 11;
constexpr double CellDoor3 = 12;
constexpr double CellDoor2 = 13;
constexpr double CellDoor1 = 14;
constexpr double CellBlink = 15;
constexpr double CellWall16 = 16;
constexpr double CellWall17 = 17;
constexpr double CellWall18 = 18;
constexpr double CellLava = 19;
constexpr double CellPlayer = 20;
constexpr double CellBugRight = 21;
constexpr double CellBugLeft = 22;
constexpr double CellBugUp = 23;
constexpr double CellBugDown = 24;
constexpr double CellAnimal25 = 25;
constexpr double CellAnimal26 = 26;
constexpr double CellAnimal27 = 27;
constexpr double CellAnimal28 = 28;
constexpr double CellWaxWall = 30;
constexpr double CellAnimalTransit = 31;
constexpr double CellDynamiteLit = 32;
constexpr double CellTransit = 33;
constexpr double CellYamRight = 36;
constexpr double CellYamLeft = 37;
constexpr double CellYamUp = 38;
constexpr double CellYamDown = 39;
constexpr double CellBlast = 40;
constexpr double CellBlastCentre = 41;
constexpr double CellBlastToSaphir = 42;
constexpr double CellBlastToGem = 43;
constexpr double CellStoneFalling = 97;
constexpr double CellGemFalling = 98;
constexpr double CellSaphirFalling = 99;

// The three classes of codes the rules test for.
inline bool IsRound(double code) { return code >= 2 && code <= 11; }
inline bool IsBlastProof(double code) { return code >= 12 && code <= 19; }
inline bool IsDeadlyNeighbour(double code) { return code >= 21 && code <= 28; }

// ---- Sprite strips and sounds (slot numbers loaded at start-up) -------------------------------
enum GameStrip {
    StripTiles = 1, StripAstroR = 2, StripAstroL = 3, StripAstroU = 4, StripAstroD = 5,
    StripErd = 6, StripCircle = 7, StripDynamite = 8, StripPushR = 9, StripPushL = 10,
    StripExit = 11, StripLava = 12, StripStoneR = 13, StripStoneL = 14, StripBlink = 15,
    StripQuish = 16, StripExplos = 17, StripBugR = 18, StripBugL = 19, StripBugU = 20,
    StripBugD = 21, StripBugTurnR = 22, StripBugTurnL = 23, StripWax = 26, StripYamYam = 27,
    StripSaphirEaten = 28, StripElec = 29,
};
enum GameSound {
    SoundMove = 1, SoundSuck = 2, SoundDyna = 3, SoundBumm = 4, SoundKnip = 5, SoundPush = 6,
    SoundExit = 7, SoundDoor = 8, SoundFels = 9, SoundFire = 10, SoundGems = 11, SoundQuik = 12,
    SoundOpen = 13, SoundBell = 14, SoundGrow = 15, SoundDisk = 16, SoundStop = 25, SoundKlic = 26,
};

// ---- The cave and its side arrays (300 numbers each, index y * 20 + x) -----------------------
extern RtArray Cave;
// Mover record: the sprite moving out of a cell during one 16-frame step.
extern RtArray MoverKind, MoverDir, MoverStep, MoverPixelX, MoverPixelY;
// Bugs and yam-yams.
extern RtArray AnimalState, AnimalMove, AnimalTurned, AnimalStep, AnimalPixelX, AnimalPixelY;
// Yam-yam explosions, one slot per cell index.
extern RtArray YamBlastY, YamBlastX, YamBlastFrame;

// ---- Start-up tables ------------------------------------------------------------------------
extern RtArray MapBuffer;       // 1200: the level file as read
extern RtArray GemsPerLevel;    // 100
extern RtArray PlayerBytes;     // 8
extern RtArray NameBytes;       // 6400
extern RtStringArray HsNames;   // 800
extern RtArray HsScores;        // 800
extern RtArray MenuLineSource;  // 20
extern RtStringArray HsRowNames;  // 8
extern RtArray HsRowScores;       // 8
extern RtStringArray ShowRowNames;  // 8

extern RtStr PlayerName;
extern RtStr MenuLine;
extern RtStr TypedText;

// ---- Per-level globals (reset by DataInit) ---------------------------------------------------
extern double FrameTick, TimeLeft, TimeSubTick, LevelOver;
extern double GemsNeeded, ExitOpened, Score, DynamiteCount;
extern double CurrentLevel;  // 1 at program start, never reset
extern double PlayerX, PlayerY, PlayerPose, PlayerBusy, PlayerAnimFrame, ShowEscapeHint;
extern double KeyHeld1, KeyHeld2, KeyHeld3;
extern double DynaX, DynaY, DynaLit, DynaTick, DynaFrame;
extern double DynaBlastX, DynaBlastY, DynaBlastFrame;
extern double BoyBlastX, BoyBlastY, BoyBlastTick, BoyBlastFrame;
extern double ErdAnimX, ErdAnimY, ErdAnimFrame;
extern double CircleAnimX, CircleAnimY, CircleAnimFrame;
extern double BlinkFrame, LavaFrame, ExitFrame;
extern double YamPackIndex;
// Loop variables and scratch shared by all rule scans.
extern double ScanX, ScanY, ScanIndex, ScanTemp;

// ---- Menu globals ---------------------------------------------------------------------------
extern double MenuCursorX, MenuCursorY, MenuCursorMotion, MenuKeyRepeat, MenuAnimFrame;

// ---- Conversions between pixels and cells ---------------------------------------------------
// A pixel position on the grid names cell (py * 20 + px) / 16; RtArray truncates the index.
inline double CellAt(double pixelX, double pixelY) { return (pixelY * 20 + pixelX) * 0.0625; }
inline double CellPixelX(double i) { return (static_cast<int>(i) % 20) * 16; }
inline double CellPixelY(double i) { return (static_cast<int>(i) / 20) * 16; }

// ---- Lifetime -------------------------------------------------------------------------------
// Dimensions every table with its element count (all zero / empty); start-up does this once.
void CreateGameTables();
// Every per-level global to its reset value, the fourteen side arrays cleared; Cave untouched.
void DataInit();

// ---- Main loop (main_loop.cpp) --------------------------------------------------------------
void StartLevel();     // sleep, SetUpLevel, ClearScreen, MainGame
void SetUpLevel();     // DataInit, LoadMaps, LookForMan, GemsNeeded of CurrentLevel
void SetUpLevelFrom(const char* levelFile);  // the same with any level file; nullptr: LoadMaps
void LookForMan();     // the start cell: last CellPlayer in rows 1..13, columns 1..18
void MainGame();       // frames until Escape
bool PlayOneFrame();   // one frame of MainGame in its fixed order; false when Escape ended it
void Timing();         // the level clock
void DynaAnimation();  // the dynamite fuse
// The exit's bookkeeping: Score + TimeLeft, WriteHighscore, MakeNsData, SaveNsData, SaveHsData.
// The player rule calls it when the player stands in the open exit, then sets the final pose.
void SaveLevelResult();
// Headless play (the runner, the benchmark, verification runs) keeps the player's files
// untouched: the score and name files at the exit, the player and level files on "GOHOME ".
extern bool SaveResultsAtExit;
// Whether SaveLevelResult ran since the last SetUpLevel (the player left through the exit).
bool ExitReachedThisLevel();
// Sets that flag: a level set up from another file starts without it, a restored run takes its own.
void SetExitReachedThisLevel(bool reached);

// ---- Cave drawing (render*.cpp) -------------------------------------------------------------
void ShowMap();
void MatAnimation();
void TumbrelMan();
void ErdAnimation();
void CircleAnimation();

// ---- Level, name and score files (level_files.cpp, name_files.cpp, high_scores.cpp) ---------
void LoadMaps();
void LoadMapFile(const char* path);  // what LoadMaps does, for any level file
void CopyMap();
void LoadMapCount();
void SaveMapCount();
void MakeGems();
void LoadPlayer();
void SavePlayer();   // PlayerBytes from PlayerName first, then the file
void PlayerNameFromBytes();
void LoadNsData();
void SaveNsData();
void MakeString();
void MakeNsData();
void LoadHsData();
void SaveHsData();
void WriteHighscore();

// ---- The rule scans (scan_*.cpp) ------------------------------------------------------------
#include "game/scans.h"
