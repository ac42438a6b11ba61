// Bugs and yam-yams through whole frames: a bug keeps something on its right-hand side, a
// yam-yam walks straight, eats saphirs, waits and picks a new heading.
#include <set>

#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

void ParkPlayer(Scenario& s) { s.PlacePlayer(18, 13); }

const std::vector<std::string> kOpenRoom = {"#",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #",
                                            "#                  #"};

// ---- Bugs -------------------------------------------------------------------------------------

TEST(Bugs, ABugInOpenSpaceCirclesATwoByTwoSquareClockwise)
{
    Scenario s(kOpenRoom);
    ParkPlayer(s);
    s.SetCell(5, 5, CellBugRight);
    s.Run(1);
    EXPECT_EQ(s.DrawsOfStrip(StripBugTurnR), (std::vector<DrawAt>{{StripBugTurnR, 0, 80, 80}}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 5), CellBugDown) << "turned towards its right-hand side";
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(5, 5), CellAnimalTransit);
    EXPECT_EQ(s.CellAtXY(5, 6), CellAnimalTransit);
    EXPECT_EQ(s.DrawsOfStrip(StripBugD), (std::vector<DrawAt>{{StripBugD, 0, 80, 81}}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 5), CellEmpty);
    EXPECT_EQ(s.CellAtXY(5, 6), CellBugDown);

    const int path[3][3] = {{4, 6, (int)CellBugLeft}, {4, 5, (int)CellBugUp}, {5, 5, (int)CellBugRight}};
    for (const auto& stop : path) {
        s.Run(32);
        EXPECT_EQ(s.CellAtXY(stop[0], stop[1]), stop[2]) << "after frame " << s.Frame();
    }
    s.SetCell(5, 5, CellEmpty);
    EXPECT_TRUE(s.CaveIs(kOpenRoom)) << "nothing else is left behind";
}

TEST(Bugs, ABugFacingAWallWithItsRightSideBlockedTurnsAnticlockwise)
{
    Scenario s({"#",
                "#                  #",
                "#     ",
                "#   =>=",
                "#   ==="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.DrawsOfStrip(StripBugTurnL), (std::vector<DrawAt>{{StripBugTurnL, 0, 80, 48}}));
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
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(ShowEscapeHint, 1);
    EXPECT_EQ(BoyBlastX, 64);
    EXPECT_EQ(BoyBlastY, 16);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
    EXPECT_EQ(s.CellAtXY(5, 1), CellTransit) << "the bug is gone in the player's blast";
}

TEST(Bugs, BugsWalkIntoLavaOnlyDownwards)
{
    Scenario s({"#",
                "#   =v=  ",
                "#   =~=>~",
                "#   =~====="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(5, 1), CellAnimalTransit);
    EXPECT_EQ(s.CellAtXY(5, 2), CellLava) << "the lava cell is not reserved";
    EXPECT_EQ(s.SoundFrames(SoundFire), std::vector<long>{1});
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 1), CellEmpty);
    EXPECT_EQ(s.CellAtXY(5, 2), CellLava);
    EXPECT_EQ(s.CellAtXY(7, 2), CellBugUp) << "the bug facing lava to its right turned away";
}

// ---- Yam-yams ---------------------------------------------------------------------------------

TEST(YamYams, AYamYamEatsASaphirWaitsAndWalksOnWhenItKeepsItsHeading)
{
    Scenario s({"#",
                "#   ====",
                "#   =R$ =",
                "#   ===="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(6, 2), CellEmpty);
    EXPECT_EQ(MoverKind[46], 7) << "the eaten saphir's picture";
    EXPECT_EQ(AnimalState[45], 3);
    EXPECT_EQ(AnimalMove[45], 0);
    EXPECT_EQ(s.SoundFrames(SoundDisk), std::vector<long>{1});
    s.Run(15);
    const double heading = s.CellAtXY(5, 2);
    EXPECT_GE(heading, CellYamRight);
    EXPECT_LE(heading, CellYamDown);

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
    ParkPlayer(s);
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
    s.Run(1);
    EXPECT_EQ(PlayerPose, 0) << "neither yam-yam touches him by contact";
    s.Run(15);
    s.SetCell(5, 1, CellYamRight);
    s.SetCell(7, 1, CellYamLeft);
    s.Run(1);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(BoyBlastX, 96);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{17});
}

TEST(YamYams, YamYamsWalkIntoLavaOnlyDownwards)
{
    Scenario s({"#",
                "#   =D=R~",
                "#   =~==="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(5, 1), CellAnimalTransit);
    EXPECT_EQ(AnimalMove[27], 0) << "lava ahead to the right only blocks";
    EXPECT_EQ(s.SoundFrames(SoundFire), std::vector<long>{1});
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(5, 1), CellEmpty);
    EXPECT_EQ(s.CellAtXY(5, 2), CellLava);
}

}  // namespace
