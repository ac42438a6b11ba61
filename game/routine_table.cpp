// The game's routines by their own names, for CallByName. The main routine is not among them.
#include "core/call_by_name.h"
#include "game/menu.h"
#include "game/state.h"

namespace {

const RoutineEntry kGameRoutines[] = {
    {Animals, "Animals"},
    {TumbrelMan, "TumbrelMan"},
    {BoyExplosion, "BoyExplosion"},
    {CircleAnimation, "CircleAnimation"},
    {CopyMap, "CopyMap"},
    {DataInit, "DataInit"},
    {Doors, "Doors"},
    {DynaAnimation, "DynaAnimation"},
    {DynaExplosion, "DynaExplosion"},
    {ElectronAnimation, "ElectronAnimation"},
    {ErdAnimation, "ErdAnimation"},
    {Formation, "Formation"},
    {LoadHsData, "LoadHsData"},
    {LoadMapCount, "LoadMapCount"},
    {LoadMaps, "LoadMaps"},
    {LoadNsData, "LoadNsData"},
    {LoadPlayer, "LoadPlayer"},
    {LookForMan, "LookForMan"},
    {MainGame, "MainGame"},
    {MainMenu, "MainMenu"},
    {MakeGems, "MakeGems"},
    {MakeNsData, "MakeNsData"},
    {MakeString, "MakeString"},
    {MatAnimation, "MatAnimation"},
    {SaveHsData, "SaveHsData"},
    {SaveMapCount, "SaveMapCount"},
    {SaveNsData, "SaveNsData"},
    {SavePlayer, "SavePlayer"},
    {ScanAnimals, "ScanAnimals"},
    {ScanTumbrelMan, "ScanTumbrelMan"},
    {ScanExplosion, "ScanExplosion"},
    {ScanMaterial, "ScanMaterial"},
    {ScanRolling, "ScanRolling"},
    {ScanWaxing, "ScanWaxing"},
    {ShowHighScore, "ShowHighScore"},
    {ShowMap, "ShowMap"},
    {Timing, "Timing"},
    {TypeName, "TypeName"},
    {WriteHighscore, "WriteHighscore"},
    {YamExplosion, "YamExplosion"},
    {YamPack, "YamPack"},
    {nullptr, nullptr},
};

}  // namespace

void RegisterGameRoutines() { SetRoutineTable(kGameRoutines); }

int GameRoutineCount() { return static_cast<int>(sizeof kGameRoutines / sizeof kGameRoutines[0]) - 1; }
