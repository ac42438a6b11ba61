// The level start, one frame of the main game in its fixed order, the level clock, the dynamite
// fuse and the bookkeeping of a finished level.
#include <cstdio>

#include "audio/sound.h"
#include "core/rt_string.h"
#include "game/data_files.h"
#include "game/state.h"
#include "gfx/fonts.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"

bool SaveResultsAtExit = true;
static bool exitReached = false;

bool ExitReachedThisLevel() { return exitReached; }
void SetExitReachedThisLevel(bool reached) { exitReached = reached; }

namespace {

void PrintLabelled(const char* label, double value, double x, double y)
{
    char text[80] = {};
    char number[64];
    NumberToText(value, number);
    snprintf(text, sizeof text, "%s%s", label, number);
    PrintText(text, x, y);
}

// The rule scans interleaved with the drawing that carries out their moves.
void RunRulesAndDrawing()
{
    ScanExplosion();
    ScanWaxing();
    ScanMaterial();
    ScanRolling();
    ScanAnimals();
    ScanTumbrelMan();
    TumbrelMan();
    MatAnimation();
    Animals();
    Doors();
    ErdAnimation();
    CircleAnimation();
}

void RunTimedEvents()
{
    YamExplosion();
    DynaAnimation();
    DynaExplosion();
    BoyExplosion();
    Timing();
}

void AdvanceFrameTick()
{
    FrameTick = FrameTick + 1;
    if (FrameTick == 16) FrameTick = 0;
}

// The exit opens once per level, the moment the last gem is taken.
void OpenExitWhenGemsTaken()
{
    if (GemsNeeded == 0 && ExitOpened == 0) {
        PlaySound(SoundOpen, 0, 1);
        ExitOpened = 1;
    }
    if (GemsNeeded < 0) GemsNeeded = 0;
}

void ShowStatusLine()
{
    if (ShowEscapeHint == 1) PrintText("PRESS ESCAPE!", 62, 120);
    PrintLabelled("SC:", Score, 0, 224);
    PrintLabelled("G:", GemsNeeded, 130, 224);
    PrintLabelled("T:", TimeLeft, 240, 224);
}

}  // namespace

void LookForMan()
{
    for (double y = 1; y <= 13; y++) {
        for (double x = 1; x <= 18; x++) {
            if (Cave[y * 20 + x] == CellPlayer) {
                PlayerX = x * 16;
                PlayerY = y * 16;
            }
        }
    }
}

void SetUpLevel() { SetUpLevelFrom(nullptr); }

void SetUpLevelFrom(const char* levelFile)
{
    exitReached = false;
    DataInit();
    if (levelFile)
        LoadMapFile(levelFile);
    else
        LoadMaps();
    LookForMan();
    GemsNeeded = GemsPerLevel[CurrentLevel];
}

void StartLevel()
{
    SleepMs(25);
    SetUpLevel();
    ClearScreen();
    MainGame();
}

void MainGame()
{
    while (PlayOneFrame()) {
    }
}

bool PlayOneFrame()
{
    if (KeyState(ScanEscape) != 0) return false;
    ShowMap();
    RunRulesAndDrawing();
    RunTimedEvents();
    AdvanceFrameTick();
    OpenExitWhenGemsTaken();
    ShowStatusLine();
    PresentFrame();
    return true;
}

void Timing()
{
    if (FrameTick > 0) return;
    if (LevelOver == 1) return;
    TimeSubTick = TimeSubTick + 1;
    if (TimeSubTick == 4) {
        TimeSubTick = 0;
        TimeLeft = TimeLeft - 1;
    }
    if (TimeLeft == 0) {
        LevelOver = 1;
        return;
    }
    // The bell rings for each of the last twelve units, on the step that lowered the clock.
    if (TimeLeft >= 1 && TimeLeft <= 12 && TimeSubTick == 0) PlaySound(SoundBell, 0, 1);
}

void DynaAnimation()
{
    if (!(DynaY > 0)) return;
    const double i = CellAt(DynaX, DynaY);
    // The burning stick occupies its cell, unless something else already lies there.
    if (Cave[i] == CellEmpty) Cave[i] = CellDynamiteLit;
    DrawAnimFrame(StripDynamite, DynaFrame, DynaX, DynaY);
    DynaTick = DynaTick + 1;
    if (DynaTick == 3) {
        DynaTick = 0;
        DynaFrame = DynaFrame + 1;
    }
    if (DynaFrame == 16) {
        DynaBlastX = DynaX;
        DynaBlastY = DynaY;
        DynaY = 0;
        DynaFrame = 0;
        DynaLit = 0;
        PlaySound(SoundBumm, 0, 1);
    }
}

void SaveLevelResult()
{
    exitReached = true;
    Score = Score + TimeLeft;
    WriteHighscore();
    if (!SaveResultsAtExit) return;
    MakeNsData();
    BeginSavingScores();
    SaveNsData();
    SaveHsData();
    FinishSavingScores();
}
