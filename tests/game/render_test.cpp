// Drawing the cave and completing moves: MatAnimation, TumbrelMan, ShowMap and the one-shot
// pictures, each called on its own so no rule interferes.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"
#include "tests/support/runtime_exit.h"

namespace {

const std::vector<std::string> kRoom = {
    "######",
    "#    #",
    "#    #",
    "#    #",
    "######",
};

// Strip frames drawn since the last presented frame.
std::vector<DrawAt> DrawnSoFar(Scenario& s, int strip)
{
    std::vector<DrawAt> draws;
    for (const auto& draw : s.renderer().draws) {
        if (draw.tag.kind == DrawKind::AnimFrame && draw.tag.spriteId == strip) {
            draws.push_back({strip, draw.tag.frame, int(draw.tag.x), int(draw.tag.y)});
        }
    }
    return draws;
}

void StartMover(int cellX, int cellY, double kind, double dir)
{
    const double i = cellY * 20 + cellX;
    MoverKind[i] = kind;
    MoverDir[i] = dir;
    MoverStep[i] = 0;
    MoverPixelX[i] = cellX * 16;
    MoverPixelY[i] = cellY * 16;
}

void Animate(int frames)
{
    for (int n = 0; n < frames; n++) MatAnimation();
}

TEST(MatAnimation, APushedStoneArrivesAtRestAndARolledOneArrivesFalling)
{
    Scenario s(kRoom);
    StartMover(1, 1, 1, 10);
    StartMover(1, 2, 1, 2);
    s.SetCell(2, 2, CellTransit);
    s.SetCell(2, 3, CellTransit);
    Animate(15);
    EXPECT_EQ(s.CellAtXY(2, 1), CellEmpty);
    Animate(1);
    EXPECT_EQ(s.CellAtXY(2, 1), CellStone);
    EXPECT_EQ(s.CellAtXY(2, 2), CellStoneFalling);
    EXPECT_EQ(s.CellAtXY(2, 3), CellEmpty);  // the reservation below the side cell is released
    EXPECT_EQ(MoverKind[21], 0);
    EXPECT_EQ(MoverStep[21], 0);
    // Moved first, then drawn: frame 0 already one pixel along, frame 15 on the target cell.
    const std::vector<DrawAt> rolling = DrawnSoFar(s, StripStoneR);
    ASSERT_EQ(rolling.size(), 32u);
    EXPECT_EQ(rolling[0], (DrawAt{StripStoneR, 0, 17, 16}));
    EXPECT_EQ(rolling[30], (DrawAt{StripStoneR, 15, 32, 16}));
}

TEST(MatAnimation, AGemRollingLeftEndsFallingAndFreesTheCellBelow)
{
    Scenario s(kRoom);
    StartMover(2, 1, 2, 3);
    s.SetCell(1, 1, CellTransit);
    s.SetCell(1, 2, CellTransit);
    Animate(16);
    EXPECT_EQ(s.CellAtXY(1, 1), CellGemFalling);
    EXPECT_EQ(s.CellAtXY(1, 2), CellEmpty);
    EXPECT_EQ(DrawnSoFar(s, StripTiles).back(), (DrawAt{StripTiles, 3, 16, 16}));
}

TEST(MatAnimation, APieceFallingIntoLavaLeavesNothingButTheFireSound)
{
    Scenario s(kRoom);
    StartMover(1, 1, 2, 1);
    s.SetCell(1, 2, CellLava);
    Animate(16);
    EXPECT_EQ(s.CellAtXY(1, 2), CellLava);
    EXPECT_EQ(s.SoundCount(SoundFire), 1);
    EXPECT_EQ(MoverKind[21], 0);
}

TEST(MatAnimation, PiecesAtRestAreDrawnButNeverCounted)
{
    Scenario s(kRoom);
    StartMover(1, 1, 1, 0);
    StartMover(2, 1, 3, 0);
    StartMover(3, 1, 6, 0);
    Animate(40);
    EXPECT_EQ(MoverStep[21], 0);
    EXPECT_EQ(MoverStep[22], 0);
    EXPECT_EQ(MoverStep[23], 0);
    EXPECT_EQ(DrawnSoFar(s, StripTiles).size(), 120u);
    EXPECT_EQ(DrawnSoFar(s, StripTiles)[2], (DrawAt{StripTiles, 9, 48, 16}));
}

TEST(MatAnimation, AGrowingWallBecomesAWaxWallAfterSixteenFrames)
{
    Scenario s(kRoom);
    StartMover(2, 2, 6, 1);
    s.SetCell(2, 2, CellTransit);
    Animate(15);
    EXPECT_EQ(s.CellAtXY(2, 2), CellTransit);
    Animate(1);
    EXPECT_EQ(s.CellAtXY(2, 2), CellWaxWall);
    const std::vector<DrawAt> frames = DrawnSoFar(s, StripWax);
    ASSERT_EQ(frames.size(), 16u);
    EXPECT_EQ(frames.back().frame, 15);
}

TEST(MatAnimation, AnExplosionLeavesGemsAndSaphirsAndNothingElse)
{
    Scenario s(kRoom);
    StartMover(1, 1, 5, 0);
    StartMover(2, 1, 5, 0);
    StartMover(3, 1, 5, 0);
    s.SetCell(1, 1, CellBlastToGem);
    s.SetCell(2, 1, CellBlastToSaphir);
    s.SetCell(3, 1, CellPlayer);
    Animate(16);
    EXPECT_TRUE(s.CaveIs({"######", "#*$@ #", "#    #", "#    #"}));
    EXPECT_EQ(DrawnSoFar(s, StripExplos).size(), 48u);
}

TEST(MatAnimation, ACrushedOrEatenSaphirPlaysItsStripInPlace)
{
    Scenario s(kRoom);
    StartMover(1, 1, 4, 0);
    StartMover(2, 1, 7, 0);
    Animate(17);
    EXPECT_EQ(DrawnSoFar(s, StripQuish).size(), 16u);
    EXPECT_EQ(DrawnSoFar(s, StripSaphirEaten).size(), 16u);
    EXPECT_TRUE(s.CaveIs(kRoom));
}

TEST(MatAnimation, AnUnknownKindOrDirectionDrawsNothingAndNeverEnds)
{
    Scenario s(kRoom);
    StartMover(1, 1, 2, 10);  // only stones are pushed
    StartMover(2, 1, 9, 0);
    Animate(20);
    EXPECT_TRUE(s.renderer().draws.empty());
    EXPECT_EQ(MoverKind[21], 2);
    EXPECT_EQ(MoverKind[22], 9);
}

TEST(MatAnimation, AFallEndingBelowTheCaveIsRuntimeError9)
{
    Scenario s(kRoom);
    StartMover(19, 14, 1, 1);
    EXPECT_RUNTIME_ERROR(Animate(16), 9);
}

TEST(TumbrelMan, TheIdlePlayerIsFrameZeroOfWalkingDownAndDoesNotCount)
{
    Scenario s(kRoom);
    s.PlacePlayer(2, 2);
    for (int n = 0; n < 5; n++) TumbrelMan();
    EXPECT_EQ(PlayerAnimFrame, 0);
    EXPECT_EQ(PlayerBusy, 0);
    EXPECT_EQ(DrawnSoFar(s, StripAstroD), std::vector<DrawAt>(5, DrawAt{StripAstroD, 0, 32, 32}));
}

TEST(TumbrelMan, AWalkTakesSixteenFramesAndKeepsThePlayerBusyMeanwhile)
{
    Scenario s(kRoom);
    s.PlacePlayer(1, 1);
    PlayerPose = 1;
    for (int n = 1; n <= 15; n++) {
        TumbrelMan();
        EXPECT_EQ(PlayerBusy, n);
    }
    TumbrelMan();
    EXPECT_EQ(PlayerX, 32);
    EXPECT_EQ(PlayerBusy, 0);
    EXPECT_EQ(PlayerAnimFrame, 0);
    EXPECT_EQ(DrawnSoFar(s, StripAstroR).back(), (DrawAt{StripAstroR, 15, 32, 16}));
}

TEST(TumbrelMan, ActingInPlaceAnimatesWithoutMovingAndPushesMove)
{
    Scenario s(kRoom);
    s.PlacePlayer(2, 2);
    PlayerPose = 7;
    for (int n = 0; n < 16; n++) TumbrelMan();
    EXPECT_EQ(PlayerX, 32);
    EXPECT_EQ(PlayerY, 32);
    EXPECT_EQ(DrawnSoFar(s, StripAstroU).size(), 16u);
    PlayerPose = 11;
    for (int n = 0; n < 16; n++) TumbrelMan();
    EXPECT_EQ(PlayerX, 16);
    EXPECT_EQ(DrawnSoFar(s, StripPushL).size(), 16u);
}

TEST(TumbrelMan, AFinishedPlayerIsNotDrawnAndStaysBusy)
{
    Scenario s(kRoom);
    PlayerPose = 15;
    PlayerBusy = 1;
    for (int n = 0; n < 20; n++) TumbrelMan();
    EXPECT_TRUE(s.renderer().draws.empty());
    EXPECT_EQ(PlayerBusy, 1);
}

TEST(ShowMap, DrawsOnlyTheRestingTilesAndWrapsTheBlinkingWall)
{
    Scenario s({
        "####",
        "#.%#",
        "#o*#",
        "#IE#",
        "#~@#",
        "####",
    });
    BlinkFrame = 31;
    ShowMap();
    EXPECT_EQ(BlinkFrame, 0);
    EXPECT_EQ(DrawnSoFar(s, StripBlink), (std::vector<DrawAt>{{StripBlink, 31, 32, 16}}));
    std::vector<int> tiles;
    for (const DrawAt& d : DrawnSoFar(s, StripTiles)) {
        if (d.frame != CellWall7) tiles.push_back(d.frame);
    }
    // Earth and the exit tile; stones, gems, doors, lava and the player are drawn elsewhere.
    EXPECT_EQ(tiles, (std::vector<int>{1, 6}));
}

TEST(OneShotPictures, RunSixteenFramesAndARestartOnlyMovesThem)
{
    Scenario s(kRoom);
    ErdAnimX = 16;
    ErdAnimY = 16;
    for (int n = 0; n < 10; n++) ErdAnimation();
    ErdAnimX = 48;
    ErdAnimY = 32;
    for (int n = 0; n < 6; n++) ErdAnimation();
    EXPECT_EQ(ErdAnimY, 0);
    EXPECT_EQ(ErdAnimFrame, 0);
    const std::vector<DrawAt> frames = DrawnSoFar(s, StripErd);
    ASSERT_EQ(frames.size(), 16u);
    EXPECT_EQ(frames[10], (DrawAt{StripErd, 10, 48, 32}));
    CircleAnimation();
    EXPECT_TRUE(DrawnSoFar(s, StripCircle).empty());
}

}  // namespace
