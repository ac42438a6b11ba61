// Drawing the cave and completing moves: MatAnimation, TumbrelMan and ShowMap, each called on
// its own so no rule interferes.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"

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

// Walks and pushes move the figure a cell in 16 frames, acting in place animates without moving;
// the player is busy until the last frame. The player whose level is over is not drawn.
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
        s.renderer().draws.clear();
        PlayerPose = 15;
        Repeat(20, TumbrelMan);
        EXPECT_TRUE(s.renderer().draws.empty());
    }
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

}  // namespace
