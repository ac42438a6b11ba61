// Bugs and yam-yams through whole frames: a bug keeps something on its right-hand side, a
// yam-yam walks straight, eats saphirs, waits and picks a new heading.
#include <set>

#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

// ---- Bugs -------------------------------------------------------------------------------------

TEST(Bugs, ABugInOpenSpaceCirclesATwoByTwoSquareClockwise)
{
    const std::vector<std::string> room = {"#",
                                           "#       ",
                                           "#       ",
                                           "#       ",
                                           "#       "};
    Scenario s(room);
    s.ParkPlayer().SetCell(3, 2, CellBugRight);
    s.Run(1);
    EXPECT_EQ(s.Draws(StripBugTurnR), (std::vector<DrawAt>{{StripBugTurnR, 0, 48, 32}}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(3, 2), CellBugDown) << "turned towards its right-hand side";
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(3, 3), CellAnimalTransit);
    EXPECT_EQ(s.Draws(StripBugD), (std::vector<DrawAt>{{StripBugD, 0, 48, 33}}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(3, 3), CellBugDown);
    const struct { int x, y; double code; } path[] = {{2, 3, CellBugLeft}, {2, 2, CellBugUp}, {3, 2, CellBugRight}};
    for (const auto& stop : path) {
        s.Run(32);
        EXPECT_EQ(s.CellAtXY(stop.x, stop.y), stop.code) << "after frame " << s.Frame();
    }
    s.SetCell(3, 2, CellEmpty);
    EXPECT_TRUE(s.CaveIs(room)) << "nothing else is left behind";
}

TEST(Bugs, ABugFacingAWallWithItsRightSideBlockedTurnsAnticlockwise)
{
    Scenario s({"#",
                "#                  #",
                "#     ",
                "#   =>=",
                "#   ==="});
    s.ParkPlayer().Run(1);
    EXPECT_EQ(s.Draws(StripBugTurnL), (std::vector<DrawAt>{{StripBugTurnL, 0, 80, 48}}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 3), CellBugUp) << "a quarter turn, never a reversal";
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(5, 2), CellAnimalTransit) << "after the turn it walks ahead";
}

TEST(Bugs, ABugKillsThePlayerOnContactEvenFromBehind)
{
    Scenario s({"#",
                "#   @>=",
                "#   ==="});
    s.Run(1);
    EXPECT_TRUE(s.KilledInBlast(1, 64, 16));
    EXPECT_EQ(s.CellAtXY(5, 1), CellTransit) << "the bug is gone in the player's blast";
}

TEST(Animals, BugsAndYamYamsWalkIntoLavaOnlyDownwards)
{
    Scenario s({"#",
                "#   =v=  ",
                "#   =~=>~",
                "#   =======",
                "#   =D=R~",
                "#   =~==="});
    s.ParkPlayer().Run(1);
    for (int y : {1, 4}) {
        EXPECT_EQ(s.CellAtXY(5, y), CellAnimalTransit) << "row " << y;
        EXPECT_EQ(s.CellAtXY(5, y + 1), CellLava) << "the lava cell is not reserved";
    }
    EXPECT_EQ(AnimalMove[87], 0) << "lava ahead to the right only blocks a yam-yam";
    EXPECT_EQ(s.SoundFrames(SoundFire), (std::vector<long>{1, 1}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 1), CellEmpty);
    EXPECT_EQ(s.CellAtXY(5, 4), CellEmpty);
    EXPECT_EQ(s.CellAtXY(7, 2), CellBugUp) << "the bug facing lava to its right turned away";
}

// ---- Yam-yams ---------------------------------------------------------------------------------

TEST(YamYams, AYamYamEatsASaphirWaitsAndWalksOnWhenItKeepsItsHeading)
{
    Scenario s({"#",
                "#   ====",
                "#   =R$ =",
                "#   ===="});
    s.ParkPlayer().Run(1);
    EXPECT_EQ(s.CellAtXY(6, 2), CellEmpty);
    EXPECT_EQ(MoverKind[46], 7) << "the eaten saphir's picture";
    EXPECT_EQ(AnimalState[45], 3);
    EXPECT_EQ(AnimalMove[45], 0);
    EXPECT_EQ(s.SoundFrames(SoundDisk), std::vector<long>{1});
    s.Run(15);
    // Boxed in but for the freed cell: it waits and re-chooses until it heads right.
    for (int step = 0; step < 40 && s.CellAtXY(7, 2) == CellEmpty; step++) s.RunSteps(1);
    EXPECT_EQ(s.CellAtXY(7, 2), CellYamRight);
    EXPECT_EQ(s.CellAtXY(6, 2), CellEmpty);
}

TEST(YamYams, AYamYamBoxedInKeepsWaitingAndTriesEveryHeading)
{
    Scenario s({"#",
                "#   ===",
                "#   =U=",
                "#   ==="});
    s.ParkPlayer();
    std::set<double> headings;
    for (int step = 0; step < 40; step++) {
        s.Run(1);
        EXPECT_EQ(AnimalState[45], 3);
        EXPECT_EQ(AnimalMove[45], 0);
        s.Run(15);
        headings.insert(s.CellAtXY(5, 2));
    }
    EXPECT_EQ(headings, (std::set<double>{CellYamRight, CellYamLeft, CellYamUp, CellYamDown}));
}

TEST(YamYams, AYamYamWalkingIntoThePlayerKillsHimButContactAloneDoesNot)
{
    Scenario s({"#",
                "#   =L@R=",
                "#   ====="});
    s.Run(16);
    EXPECT_EQ(PlayerPose, 0) << "neither yam-yam touches him by contact";
    s.SetCell(5, 1, CellYamRight);
    s.SetCell(7, 1, CellYamLeft);
    s.Run(1);
    EXPECT_TRUE(s.KilledInBlast(17, 96, 16));
}

}  // namespace
