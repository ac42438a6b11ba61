// Explosions through whole frames: bugs burst into gems and saphirs in their fixed pattern and
// set off their neighbours one step later; yam-yams leave their level's packs; dynamite clears
// its block; the player's death leaves saphirs and drops every reservation in the cave.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

void FillPack(int pack, const std::vector<double>& codes)
{
    for (size_t k = 0; k < codes.size(); k++) MapBuffer[600 + 9 * pack + k] = codes[k];
}
void FillFirstPack()
{
    FillPack(0, {CellWall16, CellEarth, CellWall17, CellGem, CellWall18, CellSaphir, CellWall16,
                 CellDynamite, CellWall17});
}
// The block the first pack fills, centred on (5, 2).
const std::vector<std::string> kFirstPackBlock = {"#", "#   =.|", "#   *H$", "#   =d|"};

// Marks the 3 x 3 block around (x, y) as a yam-yam explosion on its last frame.
void YamBlastEndingAt(int x, int y)
{
    YamBlastX[y * 20 + x] = x * 16;
    YamBlastY[y * 20 + x] = y * 16;
    YamBlastFrame[y * 20 + x] = 15;
}

void BlowDynamiteAt52()
{
    DynaBlastX = 5 * 16;
    DynaBlastY = 2 * 16;
    DynaBlastFrame = 0;
}

// Growing walls (still growing or grown) and falling stones set bugs off; plain walls break;
// doors, lava and walls 12 to 19 resist. Dynamite sets a bug off instead of clearing it.
TEST(Explosions, Shapes)
{
    const std::vector<std::string> bug = {"#", "#   ...", "#   .vW", "#   ...", "#======="};
    const std::vector<std::string> chain = {"#", "#  =====", "#  W>><=", "#  =====", "#=="};
    const std::vector<std::string> yam = {"#", "#   .O.", "#   .R.", "#   ..."};
    const std::vector<std::string> dynamite = {"#", "#   I~=", "#   |&H", "#   #.o", "#======="};
    const std::vector<std::string> dynamiteBug = {"#", "#   ====", "#   = v=", "#   ====", "#"};
    const std::vector<std::string> player = {"#", "#  =====", "#  =.(v=        _", "#  =.@.=", "#  =...=",
                                             "#  ====="};
    CheckCaveCases({
        {"a bug bursts", bug, {}, 1, {"#", "#   sgg", "#   gsg", "#   ggs", "#======="}, {{1, SoundBumm}}},
        {"into three saphirs and six gems", bug, {}, 16, {"#", "#   $**", "#   *$*", "#   **$", "#======="},
         {{1, SoundBumm}}},
        {"what sets a bug off and what resists", {"#", "#    w      O  IJK", "#    <      >  %X~", "#   ===    === =|H"},
         {}, 1, {"#", "#   sgg    sgg IJK", "#   gsg    gsg %s~", "#   ===    === =|H"},
         {{1, SoundBumm}, {1, SoundBumm}, {1, SoundBumm}}},
        {"a chain: the next bug is hit and armed, walls 16 spared", chain, {}, 1,
         {"#", "#  =====", "#  gsX<=", "#  =====", "#=="}, {{1, SoundBumm}}},
        {"a chain advances one bug per step", chain, {}, 33, {"#", "#  =====", "#  **gs=", "#  =====", "#=="},
         {{1, SoundBumm}, {17, SoundBumm}, {33, SoundBumm}}},
        {"a stone on a yam-yam holds the block", yam, {}, 1, {"#", "#   ___", "#   ___", "#   ___"},
         {{1, SoundBumm}}, FillFirstPack},
        {"then fills it with the first pack", yam, {}, 16, kFirstPackBlock, {{1, SoundBumm}}, FillFirstPack},
        {"a gem falling on a yam-yam simply lands", {"#", "#   =G=", "#   =D=", "#   ==="}, {}, 1,
         {"#", "#   =*=", "#   =D=", "#   ==="}, {{1, SoundGems}}},
        {"a door in the pack's block keeps its code", {"#", "#   I", "#   ", "#   "}, {}, 1,
         {"#", "#   I.|", "#   *H$", "#   =d|"}, {}, [] { FillFirstPack(), YamBlastEndingAt(5, 2); }},
        {"dynamite spares doors, lava and walls 16 to 18", dynamite, {}, 1,
         {"#", "#   I~=", "#   |_H", "#   ___", "#======="}, {}, BlowDynamiteAt52},
        {"and clears its block", dynamite, {}, 16, {"#", "#   I~=", "#   | H", "#      ", "#======="}, {},
         BlowDynamiteAt52},
        {"dynamite sets a bug off", dynamiteBug, {}, 17, {"#", "#   ====", "#   = X=", "#   ====", "#"}, {},
         BlowDynamiteAt52},
        {"which bursts a step later", dynamiteBug, {}, 33, {"#", "#   ====", "#   =gs=", "#   ====", "#"},
         {{33, SoundBumm}}, BlowDynamiteAt52},
        {"the player's blast destroys a bug and sweeps every reservation", player, {}, 1,
         {"#", "#  =====", "#  =___=        _", "#  =___=", "#  =___=", "#  ====="}, {{1, SoundBumm}}},
        {"saphirs after 31 frames", player, {}, 31,
         {"#", "#  =====", "#  =$$$=        _", "#  =$$$=", "#  =$$$=", "#  ====="}, {{1, SoundBumm}}},
        {"the reservations cleared a frame later", player, {}, 32, {"#", "#  =====", "#  =$$$=         ", "#  =$$$=", "#  =$$$=", "#  ====="},
         {{1, SoundBumm}}},
    });
}

// Eleven explosions ending in one frame take the packs in slot order; the eleventh gets pack 0.
TEST(Explosions, TheEleventhPackIsTheFirstAgain)
{
    Scenario s({"#"});
    s.ParkPlayer();
    const double codes[10] = {CellEarth, CellWall7, CellWaxStill, CellBlink, CellWall16,
                              CellWall17, CellWall18, CellDoor1, CellDoor2, CellDoor3};
    for (int pack = 0; pack < 10; pack++) FillPack(pack, std::vector<double>(9, codes[pack]));
    for (int n = 0; n < 11; n++) {
        const int x = 2 + 3 * (n % 6), y = 2 + 3 * (n / 6);
        for (int cell = 0; cell < 9; cell++) s.SetCell(x - 1 + cell % 3, y - 1 + cell / 3, CellEmpty);
        YamBlastEndingAt(x, y);
    }
    s.Run(1);
    for (int n = 0; n < 11; n++) {
        const int x = 2 + 3 * (n % 6), y = 2 + 3 * (n / 6);
        for (int cell = 0; cell < 9; cell++)
            EXPECT_EQ(s.CellAtXY(x - 1 + cell % 3, y - 1 + cell / 3), codes[n % 10]) << "pack " << n;
    }
    EXPECT_EQ(YamPackIndex, 609);
}

}  // namespace
