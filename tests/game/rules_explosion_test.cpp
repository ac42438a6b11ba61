// Explosions through whole frames: bugs burst into gems and saphirs in their fixed pattern and
// set off their neighbours one step later; yam-yams leave their level's packs; dynamite clears
// its block; the player's death leaves saphirs and drops every reservation in the cave.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

// ---- Bugs -------------------------------------------------------------------------------------

TEST(BugExplosion, ABugBesideAGrowingWallBurstsIntoThreeSaphirsAndSixGems)
{
    Scenario s({"#",
                "#   ...",
                "#   .vW",
                "#   ...",
                "#======="});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   sgg",
                          "#   gsg",
                          "#   ggs",
                          "#======="}));
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
    for (int cell : {24, 25, 26, 44, 45, 46, 64, 65, 66}) EXPECT_EQ(MoverKind[cell], 5) << cell;
    s.Run(15);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   $**",
                          "#   *$*",
                          "#   **$",
                          "#======="}));
}

// The still-growing wall tile sets a bug off as the grown one does, and so does a falling stone.
// Plain walls break; doors, lava and walls 12 to 19 resist.
TEST(BugExplosion, WhatSetsABugOffAndWhatResists)
{
    Scenario s({"#",
                "#    w      O  IJK",
                "#    <      >  %X~",
                "#   ===    === =|H"});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   sgg    sgg IJK",
                          "#   gsg    gsg %s~",
                          "#   ===    === =|H"}));
    EXPECT_EQ(s.SoundCount(SoundFels), 0) << "the stone never lands";
}

TEST(BugExplosion, AChainAdvancesOneBugPerStep)
{
    Scenario s({"#",
                "#  =====",
                "#  W>><=",
                "#  =====",
                "#=="});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  =====",
                          "#  gsX<=",
                          "#  =====",
                          "#=="}))
        << "the second bug is hit and armed; the ring spares walls 16";
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(5, 2), CellBlastToSaphir);
    EXPECT_EQ(s.CellAtXY(6, 2), CellBlastCentre) << "the third bug is the next link";
    EXPECT_EQ(s.CellAtXY(4, 2), CellBlastToGem) << "the first ring's saphir is marked again";
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(6, 2), CellBlastToSaphir);
    EXPECT_EQ(s.SoundFrames(SoundBumm), (std::vector<long>{1, 17, 33}));
}

// ---- Yam-yams and their packs -----------------------------------------------------------------

const std::vector<double> kFirstPack = {CellWall16, CellEarth,  CellWall17, CellGem,     CellWall18,
                                        CellSaphir, CellWall16, CellDynamite, CellWall17};
// The block the first pack fills, centred on (5, 2).
const std::vector<std::string> kFirstPackBlock = {"#", "#   =.|", "#   *H$", "#   =d|"};

void FillPack(int pack, const std::vector<double>& codes)
{
    for (size_t k = 0; k < codes.size(); k++) MapBuffer[600 + 9 * pack + k] = codes[k];
}

TEST(YamYamExplosion, AStoneOnAYamYamHoldsTheBlockThenFillsItWithTheFirstPack)
{
    Scenario s({"#",
                "#   .O.",
                "#   .R.",
                "#   ..."});
    s.ParkPlayer();
    FillPack(0, kFirstPack);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   ___",
                          "#   ___",
                          "#   ___"}));
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
    s.Run(15);
    EXPECT_TRUE(s.CaveIs(kFirstPackBlock));
    EXPECT_EQ(YamPackIndex, 609);
    EXPECT_EQ(YamBlastY[45], 0);
    EXPECT_EQ(s.SoundCount(SoundFels), 0);
}

TEST(YamYamExplosion, AGemFallingOnAYamYamSimplyLands)
{
    Scenario s({"#",
                "#   =G=",
                "#   =D=",
                "#   ==="});
    s.ParkPlayer().Run(1);
    EXPECT_EQ(s.CellAtXY(5, 1), CellGem);
    EXPECT_EQ(s.SoundFrames(SoundGems), std::vector<long>{1});
    EXPECT_EQ(s.SoundCount(SoundBumm), 0);
}

// Marks the 3 x 3 block around (x, y) as a yam-yam explosion on its last frame.
void YamBlastEndingAt(int x, int y)
{
    YamBlastX[y * 20 + x] = x * 16;
    YamBlastY[y * 20 + x] = y * 16;
    YamBlastFrame[y * 20 + x] = 15;
}

TEST(YamYamPacks, ADoorInTheBlockKeepsItsCodeAndUsesUpItsEntry)
{
    Scenario s({"#",
                "#   I",
                "#   ",
                "#   "});
    s.ParkPlayer();
    FillPack(0, kFirstPack);
    YamBlastEndingAt(5, 2);
    s.Run(1);
    std::vector<std::string> expected = kFirstPackBlock;
    expected[1][4] = 'I';
    EXPECT_TRUE(s.CaveIs(expected));
    EXPECT_EQ(YamPackIndex, 609);
}

// Eleven explosions ending in one frame take the packs in slot order; the eleventh gets pack 0.
TEST(YamYamPacks, TheEleventhPackIsTheFirstAgain)
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

// ---- Dynamite --------------------------------------------------------------------------------

void BlowDynamiteAt(int cellX, int cellY)
{
    DynaBlastX = cellX * 16;
    DynaBlastY = cellY * 16;
    DynaBlastFrame = 0;
}

TEST(DynamiteExplosion, SparesDoorsLavaAndWalls16To18AndDrawsNothingOnThem)
{
    Scenario s({"#",
                "#   I~=",
                "#   |&H",
                "#   #.o",
                "#======="});
    s.ParkPlayer();
    BlowDynamiteAt(5, 2);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   I~=",
                          "#   |_H",
                          "#   ___",
                          "#======="}));
    EXPECT_EQ(s.Draws(StripExplos), (std::vector<DrawAt>{{StripExplos, 0, 80, 32}, {StripExplos, 0, 80, 48},
                                                         {StripExplos, 0, 64, 48}, {StripExplos, 0, 96, 48}}));
    s.Run(15);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#   I~=",
                          "#   | H",
                          "#      ",
                          "#======="}));
    EXPECT_EQ(DynaBlastY, 0);
    EXPECT_EQ(s.Draws(StripExplos).front(), (DrawAt{StripExplos, 15, 80, 32}));
}

TEST(DynamiteExplosion, ABugInTheBlockStartsAChain)
{
    Scenario s({"#",
                "#   ====",
                "#   = v=",
                "#   ====",
                "#"});
    s.ParkPlayer();
    BlowDynamiteAt(5, 2);
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(6, 2), CellBlast);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(6, 2), CellBlastCentre);
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(6, 2), CellBlastToSaphir);
    EXPECT_EQ(s.CellAtXY(5, 2), CellBlastToGem);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{33});
}

// ---- The player -----------------------------------------------------------------------------

TEST(PlayerExplosion, LeavesSaphirsAndSweepsEveryReservationInTheCave)
{
    Scenario s({"#",
                "#  =====",
                "#  =.(v=        _",
                "#  =.@.=",
                "#  =...=",
                "#  ====="});
    s.Run(1);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  =====",
                          "#  =___=        _",
                          "#  =___=",
                          "#  =___=",
                          "#  ====="}))
        << "the bug in the block is destroyed, not set off";
    s.Run(30);
    EXPECT_EQ(s.CellAtXY(16, 2), CellTransit);
    EXPECT_EQ(s.CellAtXY(5, 3), CellSaphir) << "the last picture is shown for two frames";
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  =====",
                          "#  =$$$=         ",
                          "#  =$$$=",
                          "#  =$$$=",
                          "#  ====="}));
    EXPECT_EQ(BoyBlastY, 0);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
}

// Mover and animal records in the block are dropped only on the first frame of a step.
TEST(PlayerExplosion, ClearsRecordsInItsBlockOnlyOnTheFirstFrameOfAStep)
{
    Scenario s({"#",
                "#  =====",
                "#  =@ (=",
                "#  =*===",
                "#  ====="});
    s.Hold(205, 3, 3).Run(19);
    ASSERT_EQ(PlayerPose, 15) << "killed on frame 19, in the middle of a step";
    EXPECT_EQ(s.CellAtXY(4, 3), CellTransit);
    EXPECT_EQ(MoverKind[64], 2) << "the resting gem's record outlives this frame";
    s.Run(14);
    EXPECT_EQ(MoverKind[64], 0);
}

}  // namespace
