// The cave's rules through whole frames, where the shipped levels' solutions may not reach: edge
// cells, the order pieces and actions are chosen in, explosions' exact shapes, rare elements.
// Steps fall on frames 1, 17, 33, ...; a move started on one of them completes 15 frames later.
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "game/state.h"
#include "tests/game/scenario.h"
#include "tests/support/runtime_exit.h"

namespace {

constexpr int Right = 205, Left = 203, Up = 200, Down = 208, Ctrl = 29, Space = 57;

// A stone or gem lands with its own sound, a saphir is crushed under a falling stone, and pieces
// roll off round codes, right before left, never into a cell in transit.
TEST(Rules, FallingAndRolling)
{
    const std::vector<std::string> drop = {"#", "#o#", "# #", "# #", "#.#"};
    CheckCaveCases({
        {"falling reserves the cell below", drop, {}, 1, {"#", "# #", "#_#", "# #", "#.#"}, {}},
        {"falling on is silent", drop, {}, 32, {"#", "# #", "# #", "#O#", "#.#"}, {}},
        {"landing", drop, {}, 33, {"#", "# #", "# #", "#o#", "#.#"}, {{33, SoundFels}}},
        {"each material lands with its own sound", {"#", "#O=G=S=O=G=S=", "#.=.=.=_=$=$="}, {}, 1,
         {"#", "#o=*=$=o=*=$=", "#.=.=.=_=$=$="},
         {{1, SoundFels}, {1, SoundGems}, {1, SoundQuik}, {1, SoundFels}, {1, SoundGems}, {1, SoundQuik}}},
        {"a stone crushes a saphir and falls on", {"#", "#O#", "#$#", "# #"}, {}, 17, {"#", "# #", "# #", "#_#"},
         {{1, SoundQuik}}},
        {"a resting stone stays on the player's head", {"#", "# o", "# @", "#==="}, {}, 64,
         {"#", "# o", "# @", "#==="}, {}},
        {"a piece sinks into lava, the lava never reserved", {"#", "#*#", "#~#"}, {}, 32, {"#", "# #", "#~#"},
         {{1, SoundFire}, {16, SoundFire}}},
        {"a stone on a stone rolls right", {"#", "#   o  ", "#   o  ", "#======="}, {}, 1,
         {"#", "#    _ ", "#   o_ ", "#======="}, {}},
        {"the roll ends falling beside", {"#", "#   o  ", "#   o  ", "#======="}, {}, 16,
         {"#", "#    O ", "#   o  ", "#======="}, {}},
        {"left when the right side is taken, never into transit, a landing piece rolls",
         {"#", "#   *      _o_   G  ", "#   $.      o    w  ", "#==================="}, {}, 1,
         {"#", "#  _       _o_    _ ", "#  _$.      o    w_ ", "#==================="}, {{1, SoundGems}}},
        {"pieces roll off round codes", {"#", "#o o o o o o o o o #", "#o * $ d E # i w j #", "#==="}, {}, 1,
         {"#", "# _ _ _ _ _ _ _ _ _#", "#o_*_$_d_E_#_i_w_j_#", "#==="}, {}},
    });
}

TEST(Rules, MaterialInTheBottomRowEndsTheGameWithAnIndexError)
{
    Scenario s({"#"});
    s.ParkPlayer().SetCell(5, 14, CellGem);
    EXPECT_RUNTIME_ERROR(s.Run(1), 9);
}

// Earth, doors, walls 16, growing walls and animals are not round.
TEST(Rules, PiecesDoNotRollOffSquareCodes)
{
    Scenario s({"#", "#o o o o o o o     #", "#. I = W > _ R     #", "#==================#"});
    s.ParkPlayer().Run(1);
    EXPECT_EQ(s.Cave().substr(21, 20), "#o o o o o o o     #");
}

// Which key wins, what the player may enter, Ctrl acting in place, pushing.
TEST(Rules, ThePlayersMoves)
{
    CheckCaveCases({
        {"within a group right comes before up", {"#", "# .", "# @."}, {{Up, 1, 1}, {Right, 1, 1}}, 16,
         {"#", "# .", "#  @"}, {{1, SoundSuck}}},
        {"every walk into empty space sounds a step", {"#", "# @   "}, {{Right, 1, 17}}, 17,
         {"#", "#   @ "}, {{1, SoundMove}, {17, SoundMove}}},
        {"walls and cells in transit stop him", {"#", "# =", "#W@_"}, {{Right, 1, 1}, {Left, 1, 1}, {Up, 1, 1}}, 1,
         {"#", "# =", "#W@_"}, {}},
        {"so does a stone with something beyond", {"#", "# @o.", "#===="}, {{Right, 1, 1}}, 1,
         {"#", "# @o.", "#===="}, {}},
        {"the shut exit and lava beside stop him", {"#", "# E", "#~@~", "#==="}, {{Right, 1, 1}, {Left, 1, 1}, {Up, 1, 1}},
         1, {"#", "# E", "#~@~", "#==="}, {}},
        {"a door without its key", {"#", "# @J "}, {{Right, 1, 1}}, 1, {"#", "# @J "}, {},
         [] { KeyHeld1 = KeyHeld3 = 1; }},
        {"a door with a wall behind, tried before empty space", {"#", "#  =", "#  K", "#  @ "}, {{Up, 1, 1}, {Right, 1, 1}},
         1, {"#", "#  =", "#  K", "#  @ "}, {}, [] { KeyHeld3 = 1; }},
        {"ctrl takes a gem in place and never walks", {"#", "# @*="}, {{Ctrl, 1, 32}, {Right, 1, 32}}, 32,
         {"#", "# @ ="}, {{1, SoundKnip}}},
        {"ctrl takes dynamite and keys before earth and gems", {"#", "# *", "#.@i", "# d"},
         {{Ctrl, 1, 17}, {Right, 1, 17}, {Left, 1, 17}, {Up, 1, 17}, {Down, 1, 17}}, 17,
         {"#", "# *", "#.@ ", "#  "}, {{1, SoundKnip}, {17, SoundKnip}}},
        {"a stone on firm ground slides, the cell beyond free", {"#", "# @o  o", "#======="}, {{Right, 1, 16}}, 1,
         {"#", "#  @  o", "#======="}, {{1, SoundPush}}},
        {"the pushed stone arrives", {"#", "# @o  o", "#======="}, {{Right, 1, 16}}, 16,
         {"#", "#  @o o", "#======="}, {{1, SoundPush}}},
        {"pushing left starts on the first frame of a step", {"#", "#  o@", "#====="}, {{Left, 2, 32}}, 32,
         {"#", "# o@ ", "#====="}, {{17, SoundPush}}},
        {"a key opens its door into the cell beyond", {"#", "# @iI "}, {{Right, 1, 17}}, 64,
         {"#", "#   I "}, {{1, SoundKnip}, {17, SoundDoor}, {33, SoundDoor}}},
        {"walking down into lava ends without a blast", {"#", "# @", "# ~"}, {{Down, 1, 1}}, 17,
         {"#", "#  ", "# ~"}, {{1, SoundFire}}},
    });
}

// Taking a gem: the walk-up pose, five points, one gem fewer needed.
TEST(Rules, AnEarlierGroupWinsOverAnEarlierDirection)
{
    Scenario s({"#", "# *", "# @ "});
    s.Hold(Right, 1, 1).Hold(Up, 1, 1).Run(1);
    EXPECT_TRUE(s.CaveIs({"#", "# @", "#   "})) << "the gem above beats the empty space to the right";
    EXPECT_EQ(PlayerPose, 3);
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(GemsNeeded, 98);
    EXPECT_EQ(s.SoundFrames(SoundSuck), std::vector<long>{1});
}

// Lit only on the first frame of a step, with a stick in hand, none burning, the walk's pose over.
TEST(Rules, DynamiteIsLitOnlyOnTheFirstFrameOfAStepWithAStick)
{
    Scenario s({"#", "# @                #"});
    s.Hold(Space, 1, 1).Run(1);
    EXPECT_EQ(DynaLit, 0) << "no stick";
    DynamiteCount = 2;
    s.Hold(Space, 2, 17).Run(15);
    EXPECT_EQ(DynaLit, 0) << "frames 2..16 are not the first of a step";
    s.Run(1);
    EXPECT_EQ(DynaLit, 1);
    EXPECT_EQ(DynaX + DynaY, 48);
    s.Hold(Space, 33, 33).Run(16);
    EXPECT_EQ(DynamiteCount, 1) << "one burns already";
    EXPECT_EQ(s.SoundFrames(SoundDyna), std::vector<long>{17});

    Scenario walk({"#", "# @                #"});
    DynamiteCount = 1;
    walk.Hold(Right, 1, 1).Hold(Space, 17, 33).Run(17);
    EXPECT_EQ(DynaLit, 0) << "the pose of the walk is still set when the step begins";
    walk.Run(16);
    EXPECT_EQ(DynaX, 48);
}

TEST(Rules, WithNoGemsNeededThePlayerWalksIntoTheExitAndGetsTheTimeBonus)
{
    Scenario s({"#", "# @E"});
    GemsNeeded = 0;
    Score = 40;
    s.Hold(Right, 1, 1).Run(1);
    EXPECT_TRUE(s.CaveIs({"#", "#  E"}));
    EXPECT_EQ(s.SoundFrames(SoundExit), std::vector<long>{1});
    EXPECT_EQ(LevelOver, 0);
    s.Run(16);
    EXPECT_EQ(LevelOver + ShowEscapeHint, 2);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(Score, 40 + 300);
}

// How the player is killed in a blast: a falling stone, a bug touching him even from behind, a
// yam-yam walking into him, an explosion turning his cell into a gem.
TEST(Rules, DeathsInABlast)
{
    const struct { const char* name; std::vector<std::string> cave; long frames, frame; int x, y; } cases[] = {
        {"a falling stone", {"#", "# O", "# @", "#==="}, 1, 1, 32, 32},
        {"a bug from behind", {"#", "#   @>=", "#   ==="}, 1, 1, 64, 16},
        {"a yam-yam walking in", {"#", "#   =R@L=", "#   ====="}, 1, 1, 96, 16},
    };
    for (const auto& c : cases) {
        Scenario s(c.cave);
        s.Run(c.frames);
        EXPECT_TRUE(s.KilledInBlast(c.frame, c.x, c.y)) << c.name;
    }
    Scenario s({"#", "#  @ .             #"});
    s.SetCell(3, 1, CellBlastToGem);
    s.Hold(Right, 2, 64).Run(64);
    EXPECT_EQ(PlayerPose, 15);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1});
    EXPECT_EQ(PlayerX, 48) << "and he does nothing more";
}

TEST(Rules, AYamYamTouchingThePlayerDoesNotKillHim)
{
    Scenario s({"#", "#   =L@R=", "#   ====="});
    s.Run(16);
    EXPECT_EQ(PlayerPose, 0);
}

// A bug keeps something on its right-hand side, and holds both cells while it walks; animals walk
// into lava only downwards, lava ahead only stops a yam-yam.
TEST(Rules, Animals)
{
    const std::vector<std::string> room = {"#", "#       ", "#  >    ", "#       ", "#       "};
    CheckCaveCases({
        {"a bug in open space turns right", room, {}, 16, {"#", "#       ", "#  v    ", "#       ", "#       "}, {}},
        {"and walks", room, {}, 32, {"#", "#       ", "#       ", "#  v    ", "#       "}, {}},
        {"round a square", room, {}, 64, {"#", "#       ", "#       ", "# <     ", "#       "}, {}},
        {"clockwise", room, {}, 96, {"#", "#       ", "# ^     ", "#       ", "#       "}, {}},
        {"facing a wall with its right side blocked it turns left", {"#", "#     ", "#   =>=", "#   ==="}, {}, 17,
         {"#", "#    t", "#   =t=", "#   ==="}, {}},
        {"lava", {"#", "#   =v=  ", "#   =~=>~", "#   =======", "#   =D=R~", "#   =~==="}, {}, 16,
         {"#", "#   = =  ", "#   =~=^~", "#   =======", "#   = =L~", "#   =~==="}, {{1, SoundFire}, {1, SoundFire}}},
    });
}

TEST(Rules, AYamYamEatsASaphirWaitsAndWalksOn)
{
    Scenario s({"#", "#   ====", "#   =R$ =", "#   ===="});
    s.ParkPlayer().Run(16);
    EXPECT_EQ(s.CellAtXY(6, 2), CellEmpty);
    EXPECT_EQ(s.SoundFrames(SoundDisk), std::vector<long>{1});
    // Boxed in but for the freed cell: it waits and re-chooses until it heads right.
    for (int step = 0; step < 40 && s.CellAtXY(7, 2) == CellEmpty; step++) s.RunSteps(1);
    EXPECT_EQ(s.CellAtXY(7, 2), CellYamRight);
}

TEST(Rules, AYamYamBoxedInTriesEveryHeading)
{
    Scenario s({"#", "#   ===", "#   =U=", "#   ==="});
    s.ParkPlayer();
    std::set<double> headings;
    for (int step = 0; step < 40; step++) {
        s.RunSteps(1);
        headings.insert(s.CellAtXY(5, 2));
    }
    EXPECT_EQ(headings, (std::set<double>{CellYamRight, CellYamLeft, CellYamUp, CellYamDown}));
}

// Growth is decided on the first frame of a step, only into earth, one sound per growth.
TEST(Rules, GrowingWallsGrowOnlyIntoEarth)
{
    Scenario s({"#", "#o*$idjkE&o*$idjkE&#", "#WWWWWWWWWWWWWWWWWW#", "#..................#"});
    s.ParkPlayer();
    for (int frame = 0; frame < 1600 && s.SoundCount(SoundGrow) == 0; frame++) s.Run(1);
    ASSERT_GT(s.SoundCount(SoundGrow), 0);
    EXPECT_EQ(s.Frame() % 16, 1);
    const std::string row3 = s.Cave().substr(3 * 21, 20);
    EXPECT_EQ(row3.find_first_not_of("#._"), std::string::npos) << row3;
    EXPECT_EQ(s.SoundCount(SoundGrow), static_cast<int>(std::count(row3.begin(), row3.end(), '_')));
    s.RunSteps(40);
    EXPECT_EQ(s.Cave().substr(21, 42), "#o*$idjkE&o*$idjkE&#\n#WWWWWWWWWWWWWWWWWW#\n");
    EXPECT_EQ(s.Cave().substr(3 * 21, 20).find_first_not_of("#.W"), std::string::npos);
}

}  // namespace
