// The player's actions through whole frames: which key wins, acting in place, dynamite, doors
// and keys, the exit, pushing, and the ways the player dies.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

constexpr int Right = 205, Left = 203, Up = 200, Down = 208, Ctrl = 29, Space = 57;

// ---- Which action wins ---------------------------------------------------------------------

TEST(PlayerKeys, AnEarlierGroupWinsOverAnEarlierDirection)
{
    Scenario s({"#",
                "# *                #",
                "# @                #"});
    s.Hold(Right, 1, 1).Hold(Up, 1, 1).Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "# @                #",
                          "#                  #"}))
        << "the gem above beats the empty space to the right";
    EXPECT_EQ(PlayerPose, 3);
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(GemsNeeded, 98);
    EXPECT_EQ(s.SoundFrames(SoundSuck), std::vector<long>{1});
    EXPECT_EQ(CircleAnimY, 16);
}

TEST(PlayerKeys, WithinAGroupRightComesBeforeUp)
{
    Scenario s({"#",
                "# .                #",
                "# @.               #"});
    s.Hold(Up, 1, 1).Hold(Right, 1, 1).Run(16);
    EXPECT_TRUE(s.CaveIs({"#",
                          "# .                #",
                          "#  @               #"}));
    EXPECT_EQ(PlayerBusy, 0) << "the walk is over after 16 frames";
    EXPECT_EQ(ErdAnimX, 48);
}

TEST(PlayerKeys, EveryWalkIntoEmptySpaceSoundsAStep)
{
    Scenario s({"#", "# @                #"});
    s.Hold(Right, 1, 17).Run(17);
    EXPECT_EQ(s.SoundFrames(SoundMove), (std::vector<long>{1, 17}));
    EXPECT_EQ(PlayerX, 49) << "the second walk is one frame along";
    EXPECT_EQ(s.CellAtXY(4, 1), CellPlayer);
}

// Walls, cells in transit, a stone with something beyond, a door without its key or with a wall
// behind it, the shut exit and lava to the side: the player stays and nothing sounds.
TEST(PlayerKeys, WhatThePlayerMayNotEnterStopsHimSilently)
{
    const struct {
        std::vector<std::string> cave;
        std::vector<int> keys;
        void (*setup)();
    } cases[] = {
        {{"#", "# =", "#W@_"}, {Right, Left, Up}, [] {}},
        {{"#", "# @o.", "#===="}, {Right}, [] {}},
        {{"#", "# @J"}, {Right}, [] { KeyHeld1 = KeyHeld3 = 1; }},
        {{"#", "#  =", "#  K", "#  @ "}, {Up, Right}, [] { KeyHeld3 = 1; }},  // doors come before empty space
        {{"#", "# @E"}, {Right}, [] { GemsNeeded = 1; }},
        {{"#", "# @~"}, {Right}, [] {}},
    };
    for (const auto& c : cases) {
        Scenario s(c.cave);
        c.setup();
        for (int key : c.keys) s.Hold(key, 1, 1);
        s.Run(1);
        EXPECT_EQ(PlayerPose, 0) << c.cave[1];
        EXPECT_TRUE(s.CaveIs(c.cave));
        EXPECT_EQ(s.Sounds(), std::vector<SoundAt>{}) << c.cave[1];
    }
}

// ---- Ctrl: acting in place -------------------------------------------------------------------

TEST(PlayerCtrl, TakesAGemWithoutMovingAndNeverWalks)
{
    Scenario s({"#", "# @*=              #"});
    s.Hold(Ctrl, 1, 32).Hold(Right, 1, 32).Run(32);
    EXPECT_TRUE(s.CaveIs({"#", "# @ =              #"}))
        << "the cell emptied is not walked into on the next step";
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(GemsNeeded, 98);
    EXPECT_EQ(s.Sounds(), (std::vector<SoundAt>{{1, SoundKnip}}));
}

TEST(PlayerCtrl, DynamiteComesBeforeKeysBeforeEarthBeforeGems)
{
    Scenario s({"#",
                "# *                #",
                "#.@i               #",
                "# d                #"});
    for (int key : {Ctrl, Right, Left, Up, Down}) s.Hold(key, 1, 49);
    const struct { int x, y; double pose; } order[] = {{2, 3, 8}, {3, 2, 5}, {1, 2, 6}, {2, 1, 7}};
    for (const auto& take : order) {
        s.Run(s.Frame() == 0 ? 1 : 16);
        EXPECT_EQ(s.CellAtXY(take.x, take.y), CellEmpty) << "after frame " << s.Frame();
        EXPECT_EQ(PlayerPose, take.pose) << "after frame " << s.Frame();
    }
    EXPECT_EQ(DynamiteCount, 1);
    EXPECT_EQ(KeyHeld1, 1);
    EXPECT_EQ(Score, 2 + 2 + 5);
    EXPECT_EQ(s.SoundFrames(SoundKnip), (std::vector<long>{1, 17, 49}));
    EXPECT_EQ(s.SoundFrames(SoundSuck), std::vector<long>{33});
    EXPECT_EQ(s.CellAtXY(2, 2), CellPlayer);
}

// ---- Dynamite --------------------------------------------------------------------------------

// Lit only on the first frame of a step, with a stick in hand and none burning.
TEST(PlayerDynamite, IsLitOnlyOnTheFirstFrameOfAStepWithAStickAndNoneBurning)
{
    Scenario s({"#", "# @                #"});
    s.Hold(Space, 1, 1).Run(1);
    EXPECT_EQ(DynaLit, 0) << "no stick";
    DynamiteCount = 2;
    s.Hold(Space, 2, 17).Run(15);
    EXPECT_EQ(DynaLit, 0) << "frames 2..16 are not the first of a step";
    s.Run(1);
    EXPECT_EQ(DynaLit, 1);
    EXPECT_EQ(DynaX, 32);
    EXPECT_EQ(DynaY, 16);
    s.Hold(Space, 33, 33).Run(16);
    EXPECT_EQ(DynamiteCount, 1) << "one burns already";
    EXPECT_EQ(s.SoundFrames(SoundDyna), std::vector<long>{17});
}

TEST(PlayerDynamite, IsNotLitUntilTheWalkingPoseHasEnded)
{
    Scenario s({"#", "# @                #"});
    DynamiteCount = 1;
    s.Hold(Right, 1, 1).Hold(Space, 17, 33).Run(17);
    EXPECT_EQ(DynaLit, 0) << "the pose of the walk is still set when the step begins";
    s.Run(16);
    EXPECT_EQ(DynaLit, 1);
    EXPECT_EQ(DynaX, 48);
}

// ---- Keys, doors and the exit ----------------------------------------------------------------

TEST(PlayerDoors, AKeyLetsThePlayerThroughItsDoorIntoTheCellBeyond)
{
    Scenario s({"#", "# @iI              #"});
    s.Hold(Right, 1, 17).Run(1);
    EXPECT_EQ(KeyHeld1, 1);
    EXPECT_EQ(Score, 2);
    s.Run(16);
    EXPECT_EQ(PlayerPose, 1);
    s.Run(32);
    EXPECT_EQ(PlayerX, 5 * 16);
    EXPECT_EQ(PlayerBusy, 0);
    EXPECT_EQ(s.SoundFrames(SoundDoor), (std::vector<long>{17, 33})) << "once stepping in, once halfway through";
    EXPECT_TRUE(s.CaveIs({"#", "#   I              #"}))
        << "the door keeps its code and the player leaves no mark";
}

TEST(PlayerExit, WithNoGemsNeededThePlayerWalksInAndTheLevelEndsWithTheTimeBonus)
{
    Scenario s({"#", "# @E"});
    GemsNeeded = 0;
    Score = 40;
    s.Hold(Right, 1, 1).Run(1);
    EXPECT_TRUE(s.CaveIs({"#", "#  E"}));
    EXPECT_EQ(s.SoundFrames(SoundExit), std::vector<long>{1});
    EXPECT_EQ(LevelOver, 0);
    s.Run(16);
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(ShowEscapeHint, 1);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(Score, 40 + 300);
    EXPECT_EQ(s.CellAtXY(3, 1), CellExit);
}

// ---- Pushing ---------------------------------------------------------------------------------

TEST(PlayerPush, AStoneOnFirmGroundWithSpaceBeyondSlidesOneCell)
{
    Scenario s({"#",
                "# @o  o            #",
                "#==================#"});
    s.Hold(Right, 1, 16).Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  @  o            #",
                          "#==================#"}))
        << "the cell beyond is not reserved while the stone slides";
    EXPECT_EQ(PlayerPose, 10);
    s.Run(15);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  @o o            #",
                          "#==================#"}));
    EXPECT_EQ(s.SoundFrames(SoundPush), std::vector<long>{1});
}

TEST(PlayerPush, PushesLeftTooButOnlyOnTheFirstFrameOfAStep)
{
    Scenario s({"#",
                "#  o@              #",
                "#==================#"});
    s.Hold(Left, 2, 32).Run(16);
    EXPECT_EQ(s.SoundCount(SoundPush), 0);
    s.Run(16);
    EXPECT_TRUE(s.CaveIs({"#",
                          "# o@               #",
                          "#==================#"}));
    EXPECT_EQ(s.SoundFrames(SoundPush), std::vector<long>{17});
}

// ---- Death -----------------------------------------------------------------------------------

TEST(PlayerDeath, WalkingDownIntoLavaEndsTheGameWithoutABlast)
{
    Scenario s({"#",
                "# @",
                "# ~"});
    s.Hold(Down, 1, 1).Run(1);
    EXPECT_EQ(PlayerPose, 4);
    EXPECT_EQ(s.SoundFrames(SoundFire), std::vector<long>{1});
    s.Run(16);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(ShowEscapeHint, 1);
    EXPECT_EQ(BoyBlastY, 0);
    EXPECT_EQ(s.SoundCount(SoundBumm), 0);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  ",
                          "# ~"}));
}

TEST(PlayerDeath, AnExplosionTurningHisCellIntoAGemKillsHimAndHeDoesNothingMore)
{
    Scenario s({"#", "#  @ .             #"});
    s.SetCell(3, 1, CellBlastToGem);
    s.Hold(Right, 2, 64).Run(1);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
    s.Run(63);
    EXPECT_EQ(PlayerX, 48);
    EXPECT_EQ(s.CellAtXY(5, 1), CellEarth);
}

}  // namespace
