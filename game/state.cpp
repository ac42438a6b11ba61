// The game's global state and its reset values.
#include "game/state.h"

RtArray Cave;
RtArray MoverKind, MoverDir, MoverStep, MoverPixelX, MoverPixelY;
RtArray AnimalState, AnimalMove, AnimalTurned, AnimalStep, AnimalPixelX, AnimalPixelY;
RtArray YamBlastY, YamBlastX, YamBlastFrame;

RtArray MapBuffer, GemsPerLevel, PlayerBytes, NameBytes, HsScores, MenuLineSource, HsRowScores;
RtStringArray HsNames, HsRowNames, ShowRowNames;
RtStr PlayerName, MenuLine, TypedText;

double FrameTick = 0, TimeLeft = 300, TimeSubTick = 0, LevelOver = 0;
double GemsNeeded = 0, ExitOpened = 0, Score = 0, DynamiteCount = 0;
double CurrentLevel = 1;
double PlayerX = 0, PlayerY = 0, PlayerPose = 0, PlayerBusy = 0, PlayerAnimFrame = 0;
double ShowEscapeHint = 0;
double KeyHeld1 = 0, KeyHeld2 = 0, KeyHeld3 = 0;
double DynaX = 0, DynaY = 0, DynaLit = 0, DynaTick = 0, DynaFrame = 0;
double DynaBlastX = 0, DynaBlastY = 0, DynaBlastFrame = 0;
double BoyBlastX = 0, BoyBlastY = 0, BoyBlastTick = 0, BoyBlastFrame = 0;
double ErdAnimX = 0, ErdAnimY = 0, ErdAnimFrame = 0;
double CircleAnimX = 0, CircleAnimY = 0, CircleAnimFrame = 0;
double BlinkFrame = 0, LavaFrame = 0, ExitFrame = 0;
double YamPackIndex = 600;
double ScanX = 0, ScanY = 0, ScanIndex = 0, ScanTemp = 0;

// The cursor starts on "LEVELS ", the first of the four items.
double MenuCursorX = 78, MenuCursorY = 64, MenuCursorMotion = 0, MenuKeyRepeat = 0, MenuAnimFrame = 0;

namespace {

RtArray* const kSideArrays[] = {
    &MoverKind,   &MoverDir,   &MoverStep,    &MoverPixelX, &MoverPixelY,
    &AnimalState, &AnimalMove, &AnimalTurned, &AnimalStep,  &AnimalPixelX,
    &AnimalPixelY, &YamBlastY, &YamBlastX,    &YamBlastFrame,
};

}  // namespace

void CreateGameTables()
{
    // Dimensioning with n gives n elements, 0..n-1.
    ArrayDim(Cave, 300);
    for (RtArray* side : kSideArrays) ArrayDim(*side, 300);
    ArrayDim(GemsPerLevel, 100);
    ArrayDim(MapBuffer, 1200);
    ArrayDim(PlayerBytes, 8);
    ArrayDim(NameBytes, 6400);
    ArrayDim(HsNames, 800);
    ArrayDim(HsScores, 800);
    ArrayDim(MenuLineSource, 20);
    ArrayDim(HsRowNames, 8);
    ArrayDim(HsRowScores, 8);
    ArrayDim(ShowRowNames, 8);
}

static void ResetLevelGlobals()
{
    FrameTick = 0; TimeLeft = 300; TimeSubTick = 0; LevelOver = 0;
    ExitOpened = 0; Score = 0; DynamiteCount = 0;
    PlayerX = 0; PlayerY = 0; PlayerPose = 0; PlayerBusy = 0; PlayerAnimFrame = 0;
    ShowEscapeHint = 0;
    KeyHeld1 = 0; KeyHeld2 = 0; KeyHeld3 = 0;
    DynaX = 0; DynaY = 0; DynaLit = 0; DynaTick = 0; DynaFrame = 0;
    DynaBlastX = 0; DynaBlastY = 0; DynaBlastFrame = 0;
    BoyBlastX = 0; BoyBlastY = 0; BoyBlastTick = 0; BoyBlastFrame = 0;
    ErdAnimX = 0; ErdAnimY = 0; ErdAnimFrame = 0;
    CircleAnimX = 0; CircleAnimY = 0; CircleAnimFrame = 0;
    BlinkFrame = 0; LavaFrame = 0; ExitFrame = 0;
    YamPackIndex = 600;
    ScanX = 0; ScanY = 0; ScanIndex = 0; ScanTemp = 0;
    MenuAnimFrame = 0;
}

void DataInit()
{
    // GemsNeeded and CurrentLevel belong to the level start, the Cave to LoadMaps.
    ResetLevelGlobals();
    for (RtArray* side : kSideArrays) {
        for (double i = 0; i <= 299; i++) (*side)[i] = 0;
    }
}
