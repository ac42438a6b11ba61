// Saving and restoring the state of a level run.
#include "game/level_snapshot.h"

#include <cstddef>

#include "game/state.h"

namespace {

constexpr int kCells = 300;

RtArray* const kCellArrays[] = {
    &Cave,        &MoverKind,  &MoverDir,     &MoverStep,  &MoverPixelX,
    &MoverPixelY, &AnimalState, &AnimalMove,  &AnimalTurned, &AnimalStep,
    &AnimalPixelX, &AnimalPixelY, &YamBlastY, &YamBlastX,  &YamBlastFrame,
};
constexpr int kArrayCount = sizeof kCellArrays / sizeof kCellArrays[0];

double* const kGlobals[] = {
    &FrameTick, &TimeLeft, &TimeSubTick, &LevelOver, &GemsNeeded, &ExitOpened, &Score,
    &DynamiteCount, &PlayerX, &PlayerY, &PlayerPose, &PlayerBusy, &PlayerAnimFrame,
    &ShowEscapeHint, &KeyHeld1, &KeyHeld2, &KeyHeld3, &DynaX, &DynaY, &DynaLit, &DynaTick,
    &DynaFrame, &DynaBlastX, &DynaBlastY, &DynaBlastFrame, &BoyBlastX, &BoyBlastY,
    &BoyBlastTick, &BoyBlastFrame, &ErdAnimX, &ErdAnimY, &ErdAnimFrame, &CircleAnimX,
    &CircleAnimY, &CircleAnimFrame, &BlinkFrame, &LavaFrame, &ExitFrame, &YamPackIndex,
    &ScanX, &ScanY, &ScanIndex, &ScanTemp, &MenuAnimFrame,
};

// The cell arrays that steer the rules; the pixel positions follow from them.
RtArray* const kHashedArrays[] = {
    &Cave, &MoverKind, &MoverDir, &MoverStep, &AnimalState, &AnimalMove, &AnimalTurned,
    &AnimalStep, &YamBlastY, &YamBlastFrame,
};
double* const kHashedGlobals[] = {
    &FrameTick, &LevelOver, &GemsNeeded, &DynamiteCount, &PlayerX, &PlayerY, &PlayerPose,
    &PlayerBusy, &KeyHeld1, &KeyHeld2, &KeyHeld3, &DynaX, &DynaY, &DynaFrame, &DynaTick,
    &DynaBlastY, &DynaBlastFrame, &BoyBlastY, &YamPackIndex,
};

uint64_t Mix(uint64_t hash, double value)
{
    // FNV-1a over the value as a whole number; every hashed value is a small one.
    const int64_t whole = value > -1e15 && value < 1e15 ? static_cast<int64_t>(value) : 0;
    hash ^= static_cast<uint64_t>(whole) + 0x9E3779B97F4A7C15ull;
    return hash * 0x100000001B3ull;
}

}  // namespace

void SaveLevelState(LevelSnapshot& snapshot)
{
    snapshot.cells.resize(kArrayCount * kCells);
    snapshot.odd.clear();
    for (int a = 0; a < kArrayCount; ++a) {
        const double* values = kCellArrays[a]->data;
        for (int i = 0; i < kCells; ++i) {
            const double value = values[i];
            const auto small = static_cast<int16_t>(value > -32768 && value < 32768 ? value : 0);
            snapshot.cells[a * kCells + i] = small;
            if (small != value) snapshot.odd.emplace_back(a * kCells + i, value);
        }
    }
    snapshot.globals.clear();
    for (double* global : kGlobals) snapshot.globals.push_back(*global);
    snapshot.exitReached = ExitReachedThisLevel();
    snapshot.random = SaveRandomState();
}

void RestoreLevelState(const LevelSnapshot& snapshot)
{
    for (int a = 0; a < kArrayCount; ++a) {
        double* values = kCellArrays[a]->data;
        for (int i = 0; i < kCells; ++i) values[i] = snapshot.cells[a * kCells + i];
    }
    for (const auto& entry : snapshot.odd) kCellArrays[entry.first / kCells]->data[entry.first % kCells] = entry.second;
    for (std::size_t g = 0; g < snapshot.globals.size(); ++g) *kGlobals[g] = snapshot.globals[g];
    SetExitReachedThisLevel(snapshot.exitReached);
    RestoreRandomState(snapshot.random);
}

uint64_t LevelStateHash()
{
    uint64_t hash = 0xCBF29CE484222325ull;
    for (RtArray* array : kHashedArrays)
        for (int i = 0; i < kCells; ++i) hash = Mix(hash, array->data[i]);
    for (double* global : kHashedGlobals) hash = Mix(hash, *global);
    return hash;
}
