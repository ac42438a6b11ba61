// Falling and rolling stones, gems and saphirs, played through whole frames. Simulation steps
// fall on frames 1, 17, 33, ...; a move started on one of them completes 15 frames later.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"
#include "tests/support/runtime_exit.h"

namespace {

TEST(Falling, AStoneFallsOneCellPerStepSilentlyUntilItLands)
{
    Scenario s({"#",
                "#o                 #",
                "#                  #",
                "#                  #",
                "#.                 #"});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#_                 #",
                          "#                  #",
                          "#.                 #"}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(1, 2), CellStoneFalling) << "the picture reaches the cell on frame 16";
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(1, 3), CellStoneFalling);
    EXPECT_EQ(s.SoundCount(SoundFels), 0) << "falling on is silent";
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#                  #",
                          "#o                 #",
                          "#.                 #"}));
    EXPECT_EQ(s.SoundFrames(SoundFels), std::vector<long>{33});
}

// Gems and saphirs land on a saphir instead of crushing it; anything lands on a cell in transit.
TEST(Falling, EachMaterialLandsWithItsOwnSound)
{
    Scenario s({"#",
                "#O=G=S=O=G=S=",
                "#.=.=.=_=$=$=",
                "#============"});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#o=*=$=o=*=$=",
                          "#.=.=.=_=$=$=",
                          "#============"}));
    EXPECT_EQ(s.Sounds(), (std::vector<SoundAt>{{1, SoundFels}, {1, SoundGems}, {1, SoundQuik},
                                                {1, SoundFels}, {1, SoundGems}, {1, SoundQuik}}));
}

TEST(Falling, AStoneRestingOnThePlayersHeadStaysButAFallingOneKillsHim)
{
    {
        Scenario s({"#",
                    "# o",
                    "# @",
                    "#==="});
        s.Run(64);
        EXPECT_EQ(s.CellAtXY(2, 1), CellStone);
        EXPECT_EQ(PlayerPose, 0);
    }
    Scenario s({"#",
                "# O",
                "# @",
                "#==="});
    s.Run(1);
    EXPECT_TRUE(s.KilledInBlast(1, 32, 32)) << "the cell reserved is the player's: he dies at his next check";
}

TEST(Falling, AStoneCrushesASaphirAndFallsOnInTheSameStep)
{
    Scenario s({"#",
                "#O                 #",
                "#$                 #",
                "#                  #",
                "#==================#"});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#_                 #",
                          "#                  #",
                          "#==================#"}));
    EXPECT_EQ(MoverKind[41], 4) << "the crushed saphir's picture plays in its cell";
    EXPECT_EQ(s.SoundFrames(SoundQuik), std::vector<long>{1});
    s.Run(16);
    EXPECT_EQ(s.CellAtXY(1, 3), CellTransit) << "falling on into row 3";
}

TEST(Falling, APieceSinksIntoLavaWithTwoFireSounds)
{
    Scenario s({"#",
                "# *                #",
                "# ~                #"});
    s.ParkPlayer();
    for (long frames : {1, 31}) {
        s.Run(frames);
        EXPECT_TRUE(s.CaveIs({"#",
                              "#                  #",
                              "# ~                #"}))
            << "the lava cell is never reserved";
    }
    EXPECT_EQ(s.SoundFrames(SoundFire), (std::vector<long>{1, 16}))
        << "once when it starts to sink, once when its picture reaches the lava";
}

TEST(Falling, MaterialInTheBottomRowEndsTheGameWithAnIndexError)
{
    Scenario s({"#"});
    s.ParkPlayer().SetCell(5, 14, CellGem);
    EXPECT_RUNTIME_ERROR(s.Run(1), 9);
}

TEST(Rolling, AStoneOnAStoneRollsRightBeforeLeft)
{
    Scenario s({"#",
                "#   o              #",
                "#   o              #",
                "#==================#"});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#    _             #",
                          "#   o_             #",
                          "#==================#"}));
    s.Run(15);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#    O             #",
                          "#   o              #",
                          "#==================#"}))
        << "the roll ends as a falling stone beside, the cell below it freed";
    s.Run(17);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#   oo             #",
                          "#==================#"}));
    EXPECT_EQ(s.SoundFrames(SoundFels), std::vector<long>{33});
}

// Left when the cell below the right side is taken; never into a cell in transit; a piece that
// lands may roll in the same step.
TEST(Rolling, WhereAPieceRollsInOneStep)
{
    Scenario s({"#",
                "#   *      _o_   G  ",
                "#   $.      o    w  ",
                "#==================="});
    s.ParkPlayer().Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  _       _o_    _ ",
                          "#  _$.      o    w_ ",
                          "#==================="}));
    EXPECT_EQ(s.SoundFrames(SoundGems), std::vector<long>{1});
}

TEST(Rolling, PiecesRollOffRoundCodesOnly)
{
    Scenario s({"#",
                "#o o o o o o o o o #",
                "#o * $ d E # i w j #",
                "#==================#",
                "#o o o o o o o     #",
                "#. I = W > _ R     #",
                "#==================#"});
    s.ParkPlayer().Run(1);
    const std::string cave = s.Cave();
    EXPECT_EQ(cave.substr(21, 42), "# _ _ _ _ _ _ _ _ _#\n#o_*_$_d_E_#_i_w_j_#\n");
    EXPECT_EQ(cave.substr(4 * 21, 20), "#o o o o o o o     #")
        << "not off earth, doors, walls 16, growing walls, animals or cells in transit";
}

}  // namespace
