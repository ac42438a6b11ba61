// Drawing the cave and completing moves: MatAnimation, TumbrelMan, ShowMap and the one-shot
// pictures, each called on its own so no rule interferes.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"
#include "tests/support/runtime_exit.h"

namespace {

const std::vector<std::string> kRoom = {"######", "#    #", "#    #", "#    #", "######"};

void StartMover(int cellX, int cellY, double kind, double dir)
{
    const int i = cellY * 20 + cellX;
    MoverKind[i] = kind;
    MoverDir[i] = dir;
    MoverStep[i] = 0;
    MoverPixelX[i] = cellX * 16;
    MoverPixelY[i] = cellY * 16;
}

void Repeat(int frames, void (*routine)())
{
    for (int n = 0; n < frames; n++) routine();
}

// A pushed stone arrives at rest; a rolled stone or gem arrives falling and frees the cell below.
TEST(MatAnimation, MovesCompleteOnTheSixteenthFrame)
{
    Scenario s(kRoom);
    StartMover(1, 1, 1, 10);
    StartMover(1, 2, 1, 2);
    StartMover(4, 1, 2, 3);
    const int reserved[][2] = {{2, 2}, {2, 3}, {3, 1}, {3, 2}};
    for (const auto& cell : reserved) s.SetCell(cell[0], cell[1], CellTransit);
    Repeat(15, MatAnimation);
    EXPECT_TRUE(s.CaveIs({"######", "#  _ #", "# __ #", "# _  #"}));
    MatAnimation();
    EXPECT_TRUE(s.CaveIs({"######", "# oG #", "# O  #", "#    #"}));
    EXPECT_EQ(MoverKind[21], 0);
    EXPECT_EQ(MoverStep[21], 0);
    // Moved first, then drawn: frame 0 already one pixel along, frame 15 on the target cell.
    const std::vector<DrawAt> rolling = s.PendingDraws(StripStoneR);
    ASSERT_EQ(rolling.size(), 32u);
    EXPECT_EQ(rolling[0], (DrawAt{StripStoneR, 0, 17, 16}));
    EXPECT_EQ(rolling[30], (DrawAt{StripStoneR, 15, 32, 16}));
}

// Pieces at rest are drawn every frame and an unknown kind or direction draws nothing, neither
// ever ends; a crushed or eaten saphir plays its strip in place once.
TEST(MatAnimation, PiecesThatDoNotMove)
{
    Scenario s(kRoom);
    const int resting[][2] = {{1, 1}, {2, 3}, {3, 6}};  // cell x, kind
    for (const auto& piece : resting) StartMover(piece[0], 1, piece[1], 0);
    StartMover(1, 2, 2, 10);  // only stones are pushed
    StartMover(2, 2, 9, 0);
    StartMover(1, 3, 4, 0);
    StartMover(2, 3, 7, 0);
    Repeat(40, MatAnimation);
    for (int cell : {21, 22, 23, 41, 42}) EXPECT_EQ(MoverStep[cell], 0) << cell;
    EXPECT_EQ(MoverKind[41], 2);
    EXPECT_EQ(MoverKind[42], 9);
    EXPECT_EQ(s.PendingDraws(StripTiles).size(), 120u);
    EXPECT_EQ(s.PendingDraws(StripTiles)[2], (DrawAt{StripTiles, 9, 48, 16}));
    EXPECT_EQ(s.PendingDraws(StripQuish).size(), 16u);
    EXPECT_EQ(s.PendingDraws(StripSaphirEaten).size(), 16u);
    EXPECT_EQ(s.renderer().draws.size(), 120u + 32u);
    EXPECT_TRUE(s.CaveIs(kRoom));
}

TEST(MatAnimation, AFallEndingBelowTheCaveIsRuntimeError9)
{
    Scenario s(kRoom);
    StartMover(19, 14, 1, 1);
    EXPECT_RUNTIME_ERROR(Repeat(16, MatAnimation), 9);
}

// Walks and pushes move the figure a cell in 16 frames, acting in place animates without moving;
// the player is busy until the last frame.
TEST(TumbrelMan, EveryPoseTakesSixteenFrames)
{
    const struct { double pose; int strip, dx, dy; } poses[] = {
        {1, StripAstroR, 16, 0}, {4, StripAstroD, 0, 16}, {7, StripAstroU, 0, 0}, {11, StripPushL, -16, 0}};
    for (const auto& p : poses) {
        Scenario s(kRoom);
        s.PlacePlayer(2, 2);
        PlayerPose = p.pose;
        for (int n = 1; n <= 15; n++) {
            TumbrelMan();
            ASSERT_EQ(PlayerBusy, n) << "pose " << p.pose;
        }
        TumbrelMan();
        EXPECT_EQ(PlayerBusy, 0) << "pose " << p.pose;
        EXPECT_EQ(PlayerX, 32 + p.dx) << "pose " << p.pose;
        EXPECT_EQ(PlayerY, 32 + p.dy) << "pose " << p.pose;
        const std::vector<DrawAt> frames = s.PendingDraws(p.strip);
        ASSERT_EQ(frames.size(), 16u) << "pose " << p.pose;
        EXPECT_EQ(frames.back(), (DrawAt{p.strip, 15, 32 + p.dx, 32 + p.dy})) << "pose " << p.pose;
    }
}

TEST(TumbrelMan, AFinishedPlayerIsNotDrawnAndStaysBusy)
{
    Scenario s(kRoom);
    PlayerPose = 15;
    PlayerBusy = 1;
    Repeat(20, TumbrelMan);
    EXPECT_TRUE(s.renderer().draws.empty());
    EXPECT_EQ(PlayerBusy, 1);
}

TEST(ShowMap, DrawsOnlyTheRestingTilesAndWrapsTheBlinkingWall)
{
    Scenario s({"####",
                "#.%#",
                "#o*#",
                "#IE#",
                "#~@#",
                "####"});
    BlinkFrame = 31;
    ShowMap();
    EXPECT_EQ(BlinkFrame, 0);
    EXPECT_EQ(s.PendingDraws(StripBlink), (std::vector<DrawAt>{{StripBlink, 31, 32, 16}}));
    std::vector<int> tiles;
    for (const DrawAt& d : s.PendingDraws(StripTiles))
        if (d.frame != CellWall7) tiles.push_back(d.frame);
    // Earth and the exit tile; stones, gems, doors, lava and the player are drawn elsewhere.
    EXPECT_EQ(tiles, (std::vector<int>{1, 6}));
}

TEST(OneShotPictures, RunSixteenFramesAndARestartOnlyMovesThem)
{
    Scenario s(kRoom);
    ErdAnimX = ErdAnimY = 16;
    Repeat(10, ErdAnimation);
    ErdAnimX = 48;
    ErdAnimY = 32;
    Repeat(6, ErdAnimation);
    EXPECT_EQ(ErdAnimY, 0);
    EXPECT_EQ(ErdAnimFrame, 0);
    const std::vector<DrawAt> frames = s.PendingDraws(StripErd);
    ASSERT_EQ(frames.size(), 16u);
    EXPECT_EQ(frames[10], (DrawAt{StripErd, 10, 48, 32}));
    CircleAnimation();
    EXPECT_TRUE(s.PendingDraws(StripCircle).empty());
}

}  // namespace
