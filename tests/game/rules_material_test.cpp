// Falling and rolling stones, gems and saphirs, played through whole frames. Simulation steps
// fall on frames 1, 17, 33, ...; a move started on one of them completes 15 frames later.
#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"
#include "tests/support/runtime_exit.h"

namespace {

// The player stands in the wall at the bottom right, out of the way of the rules under test.
void ParkPlayer(Scenario& s) { s.PlacePlayer(18, 13); }

TEST(Falling, AStoneFallsOneCellPerStepAndLandsWithItsSound)
{
    Scenario s({"#",
                "#o                 #",
                "#                  #",
                "#.                 #"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#_                 #",
                          "#.                 #"}));
    s.Run(15);
    EXPECT_EQ(s.CellAtXY(1, 2), CellStoneFalling) << "the picture reaches the cell on frame 16";
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "#o                 #",
                          "#.                 #"}));
    EXPECT_EQ(s.SoundFrames(SoundFels), std::vector<long>{17});
}

TEST(Falling, AFallingPieceFallsOnThroughEveryStepUntilItLands)
{
    Scenario s({"#",
                "#*                 #",
                "#                  #",
                "#                  #",
                "#=                 #"});
    ParkPlayer(s);
    s.Run(32);
    EXPECT_EQ(s.CellAtXY(1, 3), CellGemFalling);
    EXPECT_EQ(s.SoundCount(SoundGems), 0);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(1, 3), CellGem);
    EXPECT_EQ(s.SoundFrames(SoundGems), std::vector<long>{33});
}

TEST(Falling, EachMaterialLandsWithItsOwnSound)
{
    Scenario s({"#",
                "#O G S             #",
                "#. . .             #"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#o * $             #",
                          "#. . .             #"}));
    EXPECT_EQ(s.Sounds(), (std::vector<SoundAt>{{1, SoundFels}, {1, SoundGems}, {1, SoundQuik}}));
}

TEST(Falling, AStoneAtRestOnThePlayersHeadStaysThere)
{
    Scenario s({"#",
                "# o                #",
                "# @                #",
                "#==================#"});
    s.Run(64);
    EXPECT_EQ(s.CellAtXY(2, 1), CellStone);
    EXPECT_EQ(PlayerPose, 0);
    EXPECT_EQ(LevelOver, 0);
}

TEST(Falling, AFallingStoneFallsIntoThePlayerAndKillsHim)
{
    Scenario s({"#",
                "# O                #",
                "# @                #",
                "#==================#"});
    s.Run(1);
    EXPECT_EQ(PlayerPose, 15) << "the cell reserved is the player's: he dies at his next check";
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(ShowEscapeHint, 1);
    EXPECT_EQ(BoyBlastX, 32);
    EXPECT_EQ(BoyBlastY, 32);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
}

TEST(Falling, AFallingPieceLandsOnACellInTransit)
{
    Scenario s({"#",
                "#O                 #",
                "#_                 #"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(1, 1), CellStone);
    EXPECT_EQ(s.CellAtXY(1, 2), CellTransit);
    EXPECT_EQ(s.SoundFrames(SoundFels), std::vector<long>{1});
}

TEST(Falling, AStoneCrushesASaphirAndFallsOnInTheSameStep)
{
    Scenario s({"#",
                "#O                 #",
                "#$                 #",
                "#                  #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
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

TEST(Falling, GemsAndSaphirsLandOnASaphirInsteadOfCrushingIt)
{
    Scenario s({"#",
                "#G=S=",
                "#$=$=",
                "#===="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#*=$=",
                          "#$=$=",
                          "#===="}));
    EXPECT_EQ(s.Sounds(), (std::vector<SoundAt>{{1, SoundGems}, {1, SoundQuik}}));
}

TEST(Falling, APieceSinksIntoLavaWithTwoFireSounds)
{
    Scenario s({"#",
                "# *                #",
                "# ~                #"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "# ~                #"}))
        << "the lava cell is not reserved";
    s.Run(31);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#                  #",
                          "# ~                #"}));
    EXPECT_EQ(s.SoundFrames(SoundFire), (std::vector<long>{1, 16}))
        << "once when it starts to sink, once when its picture reaches the lava";
}

TEST(Falling, MaterialInTheBottomRowEndsTheGameWithAnIndexError)
{
    Scenario s({"#"});
    ParkPlayer(s);
    s.SetCell(5, 14, CellGem);
    EXPECT_RUNTIME_ERROR(s.Run(1), 9);
}

TEST(Rolling, AStoneOnAStoneRollsRightBeforeLeft)
{
    Scenario s({"#",
                "#   o              #",
                "#   o              #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#    _             #",
                          "#   o_             #",
                          "#==================#"}));
    EXPECT_EQ(MoverKind[24], 1);
    EXPECT_EQ(MoverDir[24], 2);
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

TEST(Rolling, APieceRollsLeftWhenTheCellBelowItsRightSideIsTaken)
{
    Scenario s({"#",
                "#   *              #",
                "#   $.             #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  _               #",
                          "#  _$.             #",
                          "#==================#"}));
    EXPECT_EQ(MoverKind[24], 2);
    EXPECT_EQ(MoverDir[24], 3);
}

TEST(Rolling, PiecesRollOffEveryRoundCode)
{
    Scenario s({"#",
                "#o o o o o o o o o #",
                "#o * $ d E # i w j #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "# _ _ _ _ _ _ _ _ _#",
                          "#o_*_$_d_E_#_i_w_j_#",
                          "#==================#"}));
}

TEST(Rolling, PiecesDoNotRollOffEarthDoorsWallsAnimalsOrCellsInTransit)
{
    Scenario s({"#",
                "#o o o o o o o     #",
                "#. I = W > _ R     #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.Cave().substr(21, 20), "#o o o o o o o     #");
}

TEST(Rolling, APieceNextToACellInTransitDoesNotRollIntoIt)
{
    Scenario s({"#",
                "#  _o_             #",
                "#   o              #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#  _o_             #",
                          "#   o              #",
                          "#==================#"}));
}

TEST(Rolling, APieceThatLandsMayRollInTheSameStep)
{
    Scenario s({"#",
                "#   G              #",
                "#   w              #",
                "#==================#"});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_TRUE(s.CaveIs({"#",
                          "#    _             #",
                          "#   w_             #",
                          "#==================#"}));
    EXPECT_EQ(s.SoundFrames(SoundGems), std::vector<long>{1});
}

TEST(Rolling, AColumnOfStonesInEarthStaysPut)
{
    const std::vector<std::string> shaft = {"#",
                                            "#  .o.             #",
                                            "#  .o.             #",
                                            "#  .o.             #",
                                            "#  ...             #"};
    Scenario s(shaft);
    ParkPlayer(s);
    s.Run(64);
    EXPECT_TRUE(s.CaveIs(shaft));
    EXPECT_EQ(s.Sounds(), std::vector<SoundAt>{});
}

}  // namespace
