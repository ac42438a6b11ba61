// The cave's rules through whole frames, where the shipped levels' solutions may not reach: edge
// cells, the order pieces and actions are chosen in, explosions' exact shapes, rare elements; the
// level clock, the status line and the dynamite fuse. Steps fall on frames 1, 17, 33, ...; a move
// started on one of them completes 15 frames later.
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/scenario.h"

namespace {

constexpr int Right = 205, Left = 203, Up = 200, Down = 208, Ctrl = 29, Space = 57;

// A stone or gem lands with its own sound, a saphir is crushed under a falling stone, and pieces
// roll off round codes, right before left, never into a cell in transit.
TEST(Rules, FallingAndRolling)
{
    const std::vector<std::string> drop = {"#", "#o#", "# #", "# #", "#.#"};
    const std::vector<std::string> pile = {"#", "#   o  ", "#   o  ", "#======="};
    CheckCaveCases({
        {"falling reserves the cell below", drop, {}, 1, {"#", "# #", "#_#", "# #", "#.#"}, {}},
        {"falling on is silent", drop, {}, 32, {"#", "# #", "# #", "#O#", "#.#"}, {}},
        {"landing", drop, {}, 33, {"#", "# #", "# #", "#o#", "#.#"}, {{33, SoundFels}}},
        {"each material lands with its own sound", {"#", "#O=G=S=O=G=S=", "#.=.=.=_=$=$="}, {}, 1,
         {"#", "#o=*=$=o=*=$=", "#.=.=.=_=$=$="},
         {{1, SoundFels}, {1, SoundGems}, {1, SoundQuik},
          {1, SoundFels}, {1, SoundGems}, {1, SoundQuik}}},
        {"a stone crushes a saphir and falls on", {"#", "#O#", "#$#", "# #"}, {}, 17,
         {"#", "# #", "# #", "#_#"}, {{1, SoundQuik}}},
        {"a resting stone stays on the player's head", {"#", "# o", "# @", "#==="}, {}, 64,
         {"#", "# o", "# @", "#==="}, {}},
        {"a piece sinks into lava, the lava never reserved", {"#", "#*#", "#~#"}, {}, 32,
         {"#", "# #", "#~#"}, {{1, SoundFire}, {16, SoundFire}}},
        {"on a stone it rolls right", pile, {}, 1, {"#", "#    _ ", "#   o_ ", "#======="}, {}},
        {"the roll ends falling beside", pile, {}, 16, {"#", "#    O ", "#   o  ", "#======="}, {}},
        {"left when the right side is taken, never into transit, a landing piece rolls",
         {"#", "#   *      _o_   G  ", "#   $.      o    w  ", "#==================="}, {}, 1,
         {"#", "#  _       _o_    _ ", "#  _$.      o    w_ ", "#==================="},
         {{1, SoundGems}}},
        {"off round codes", {"#", "#o o o o o o o o o #", "#o * $ d E # i w j #", "#==="}, {}, 1,
         {"#", "# _ _ _ _ _ _ _ _ _#", "#o_*_$_d_E_#_i_w_j_#", "#==="}, {}},
    });
}

// Which key wins, what the player may enter, Ctrl acting in place, pushing.
TEST(Rules, ThePlayersMoves)
{
    const std::vector<HeldKey> around = {{Right, 1, 1}, {Left, 1, 1}, {Up, 1, 1}};
    const std::vector<HeldKey> all = {{Ctrl, 1, 17}, {Right, 1, 17}, {Left, 1, 17}, {Up, 1, 17},
                                      {Down, 1, 17}};
    CheckCaveCases({
        {"within a group right comes before up", {"#", "# .", "# @."}, {{Up, 1, 1}, {Right, 1, 1}},
         16, {"#", "# .", "#  @"}, {{1, SoundSuck}}},
        {"every walk into empty space sounds a step", {"#", "# @   "}, {{Right, 1, 17}}, 17,
         {"#", "#   @ "}, {{1, SoundMove}, {17, SoundMove}}},
        {"walls and cells in transit stop him", {"#", "# =", "#W@_"}, around, 1,
         {"#", "# =", "#W@_"}, {}},
        {"so does a stone with something beyond", {"#", "# @o.", "#===="}, {{Right, 1, 1}}, 1,
         {"#", "# @o.", "#===="}, {}},
        {"the shut exit and lava beside stop him", {"#", "# E", "#~@~", "#==="}, around, 1,
         {"#", "# E", "#~@~", "#==="}, {}},
        {"a door without its key", {"#", "# @J "}, {{Right, 1, 1}}, 1, {"#", "# @J "}, {},
         [] { KeyHeld1 = KeyHeld3 = 1; }},
        {"a door with a wall behind, tried before empty space", {"#", "#  =", "#  K", "#  @ "},
         {{Up, 1, 1}, {Right, 1, 1}}, 1, {"#", "#  =", "#  K", "#  @ "}, {}, [] { KeyHeld3 = 1; }},
        {"ctrl takes a gem in place and never walks", {"#", "# @*="},
         {{Ctrl, 1, 32}, {Right, 1, 32}}, 32, {"#", "# @ ="}, {{1, SoundKnip}}},
        {"ctrl takes dynamite and keys before earth and gems", {"#", "# *", "#.@i", "# d"}, all, 17,
         {"#", "# *", "#.@ ", "#  "}, {{1, SoundKnip}, {17, SoundKnip}}},
        {"a stone on firm ground slides, the cell beyond free", {"#", "# @o  o", "#======="},
         {{Right, 1, 16}}, 1, {"#", "#  @  o", "#======="}, {{1, SoundPush}}},
        {"the pushed stone arrives", {"#", "# @o  o", "#======="}, {{Right, 1, 16}}, 16,
         {"#", "#  @o o", "#======="}, {{1, SoundPush}}},
        {"pushing left starts on the first frame of a step", {"#", "#  o@", "#====="},
         {{Left, 2, 32}}, 32, {"#", "# o@ ", "#====="}, {{17, SoundPush}}},
        {"a key opens its door into the cell beyond", {"#", "# @iI "}, {{Right, 1, 17}}, 64,
         {"#", "#   I "}, {{1, SoundKnip}, {17, SoundDoor}, {33, SoundDoor}}},
        {"with no gems needed he walks into the exit", {"#", "# @E"}, {{Right, 1, 1}}, 17,
         {"#", "#  E"}, {{1, SoundExit}, {1, SoundOpen}}, [] { GemsNeeded = 0; }},
        {"walking down into lava ends without a blast", {"#", "# @", "# ~"}, {{Down, 1, 1}}, 17,
         {"#", "#  ", "# ~"}, {{1, SoundFire}}},
    });
}

// Taking a gem above takes the walking-up pose.
TEST(Rules, AnEarlierGroupWinsOverAnEarlierDirection)
{
    Scenario s({"#", "# *", "# @ "});
    s.Hold(Right, 1, 1).Hold(Up, 1, 1).Run(1);
    EXPECT_TRUE(s.CaveIs({"#", "# @", "#   "})) << "the gem above beats the space to the right";
    EXPECT_EQ(PlayerPose, 3);
    EXPECT_EQ(s.SoundFrames(SoundSuck), std::vector<long>{1});
}

// Lit only on the first frame of a step, with a stick in hand and none burning.
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
    EXPECT_EQ(DynaX, 32);
    EXPECT_EQ(DynaY, 16);
    s.Hold(Space, 33, 33).Run(16);
    EXPECT_EQ(DynamiteCount, 1) << "one burns already";
    EXPECT_EQ(s.SoundFrames(SoundDyna), std::vector<long>{17});
}

// How the player is killed in a blast on the first frame: a falling stone, a bug touching him even
// from behind, a yam-yam walking into him, an explosion turning his cell into a gem. The level is
// over and he does nothing more.
TEST(Rules, DeathsInABlast)
{
    const struct { const char* name; std::vector<std::string> cave; int x, y; } cases[] = {
        {"a falling stone", {"#", "# O", "# @", "#==="}, 32, 32},
        {"a bug from behind", {"#", "#   @>=", "#   ==="}, 64, 16},
        {"a yam-yam walking in", {"#", "#   =R@L=", "#   ====="}, 96, 16},
        {"a blast turning his cell into a gem", {"#", "#  @ .", "#   "}, 48, 16},
    };
    for (const auto& c : cases) {
        Scenario s(c.cave);
        if (c.x == 48) s.SetCell(3, 1, CellBlastToGem);
        s.Hold(Right, 2, 64).Run(1);
        EXPECT_EQ(std::vector<double>({PlayerPose, LevelOver, ShowEscapeHint, BoyBlastX, BoyBlastY}),
                  std::vector<double>({15, 1, 1, double(c.x), double(c.y)})) << c.name;
        EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{1}) << c.name;
        s.Run(63);
        EXPECT_EQ(PlayerX, c.x) << c.name;
    }
}

// A bug keeps something on its right-hand side, and holds both cells while it walks; animals walk
// into lava only downwards, lava ahead only stops a yam-yam.
TEST(Rules, Animals)
{
    const std::vector<std::string> room = {"#", "#       ", "#  >    ", "#       ", "#       "};
    CheckCaveCases({
        {"a bug in open space turns right", room, {}, 16,
         {"#", "#       ", "#  v    ", "#       ", "#       "}, {}},
        {"and walks", room, {}, 32, {"#", "#       ", "#       ", "#  v    ", "#       "}, {}},
        {"round a square", room, {}, 64, {"#", "#       ", "#       ", "# <     ", "#       "}, {}},
        {"clockwise", room, {}, 96, {"#", "#       ", "# ^     ", "#       ", "#       "}, {}},
        {"facing a wall with its right side blocked it turns left",
         {"#", "#     ", "#   =>=", "#   ==="}, {}, 17,
         {"#", "#    t", "#   =t=", "#   ==="}, {}},
        {"a yam-yam touching the player does not kill him", {"#", "#   =L@R=", "#   ====="}, {}, 16,
         {"#", "#   =L@R=", "#   ====="}, {}},
        {"lava", {"#", "#   =v=  ", "#   =~=>~", "#   =======", "#   =D=R~", "#   =~==="}, {}, 16,
         {"#", "#   = =  ", "#   =~=^~", "#   =======", "#   = =L~", "#   =~==="},
         {{1, SoundFire}, {1, SoundFire}}},
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

void FillPack(int pack, const std::vector<double>& codes)
{
    for (size_t k = 0; k < codes.size(); k++) MapBuffer[600 + 9 * pack + k] = codes[k];
}
void FillFirstPack()
{
    FillPack(0, {CellWall16, CellEarth, CellWall17, CellGem, CellWall18, CellSaphir, CellWall16,
                 CellDynamite, CellWall17});
}
// The block the first pack fills, centred on (5, 2).
const std::vector<std::string> kFirstPackBlock = {"#", "#   =.|", "#   *H$", "#   =d|"};

// Marks the 3 x 3 block around (x, y) as a yam-yam explosion on its last frame.
void YamBlastEndingAt(int x, int y)
{
    YamBlastX[y * 20 + x] = x * 16;
    YamBlastY[y * 20 + x] = y * 16;
    YamBlastFrame[y * 20 + x] = 15;
}

void BlowDynamiteAt52()
{
    DynaBlastX = 5 * 16;
    DynaBlastY = 2 * 16;
    DynaBlastFrame = 0;
}

// Growing walls (still growing or grown) and falling stones set bugs off; plain walls break;
// doors, lava and walls 12 to 19 resist. Dynamite sets a bug off instead of clearing it.
TEST(Explosions, Shapes)
{
    const std::vector<std::string> bug = {"#", "#   ...", "#   .vW", "#   ...", "#======="};
    const std::vector<std::string> chain = {"#", "#  =====", "#  W>><=", "#  =====", "#=="};
    const std::vector<std::string> yam = {"#", "#   .O.", "#   .R.", "#   ..."};
    const std::vector<std::string> dynamite = {"#", "#   I~=", "#   |&H", "#   #.o", "#======="};
    const std::vector<std::string> dynamiteBug = {"#", "#   ====", "#   = v=", "#   ====", "#"};
    const std::vector<std::string> player = {"#", "#  =====", "#  =.(v=        _", "#  =.@.=",
                                             "#  =...=", "#  ====="};
    CheckCaveCases({
        {"a bug bursts", bug, {}, 1, {"#", "#   sgg", "#   gsg", "#   ggs", "#======="},
         {{1, SoundBumm}}},
        {"into three saphirs and six gems", bug, {}, 16,
         {"#", "#   $**", "#   *$*", "#   **$", "#======="}, {{1, SoundBumm}}},
        {"what sets a bug off and what resists",
         {"#", "#    w      O  IJK", "#    <      >  %X~", "#   ===    === =|H"}, {}, 1,
         {"#", "#   sgg    sgg IJK", "#   gsg    gsg %s~", "#   ===    === =|H"},
         {{1, SoundBumm}, {1, SoundBumm}, {1, SoundBumm}}},
        {"a chain: the next bug is hit and armed, walls 16 spared", chain, {}, 1,
         {"#", "#  =====", "#  gsX<=", "#  =====", "#=="}, {{1, SoundBumm}}},
        {"a chain advances one bug per step", chain, {}, 33,
         {"#", "#  =====", "#  **gs=", "#  =====", "#=="},
         {{1, SoundBumm}, {17, SoundBumm}, {33, SoundBumm}}},
        {"a stone on a yam-yam holds the block", yam, {}, 1, {"#", "#   ___", "#   ___", "#   ___"},
         {{1, SoundBumm}}, FillFirstPack},
        {"then fills it with the first pack", yam, {}, 16, kFirstPackBlock, {{1, SoundBumm}},
         FillFirstPack},
        {"a gem falling on a yam-yam simply lands", {"#", "#   =G=", "#   =D=", "#   ==="}, {}, 1,
         {"#", "#   =*=", "#   =D=", "#   ==="}, {{1, SoundGems}}},
        {"a door in the pack's block keeps its code", {"#", "#   I", "#   ", "#   "}, {}, 1,
         {"#", "#   I.|", "#   *H$", "#   =d|"}, {},
         [] { FillFirstPack(), YamBlastEndingAt(5, 2); }},
        {"dynamite spares doors, lava and walls 16 to 18", dynamite, {}, 1,
         {"#", "#   I~=", "#   |_H", "#   ___", "#======="}, {}, BlowDynamiteAt52},
        {"and clears its block", dynamite, {}, 16,
         {"#", "#   I~=", "#   | H", "#      ", "#======="}, {}, BlowDynamiteAt52},
        {"dynamite sets a bug off", dynamiteBug, {}, 17,
         {"#", "#   ====", "#   = X=", "#   ====", "#"}, {}, BlowDynamiteAt52},
        {"which bursts a step later", dynamiteBug, {}, 33,
         {"#", "#   ====", "#   =gs=", "#   ====", "#"}, {{33, SoundBumm}}, BlowDynamiteAt52},
        {"the player's blast destroys a bug and sweeps every reservation", player, {}, 1,
         {"#", "#  =====", "#  =___=        _", "#  =___=", "#  =___=", "#  ====="},
         {{1, SoundBumm}}},
        {"saphirs after 31 frames", player, {}, 31,
         {"#", "#  =====", "#  =$$$=        _", "#  =$$$=", "#  =$$$=", "#  ====="},
         {{1, SoundBumm}}},
        {"the reservations cleared a frame later", player, {}, 32,
         {"#", "#  =====", "#  =$$$=         ", "#  =$$$=", "#  =$$$=", "#  ====="},
         {{1, SoundBumm}}},
    });
}

// Eleven explosions ending in one frame take the packs in slot order; the eleventh gets pack 0.
TEST(Explosions, TheEleventhPackIsTheFirstAgain)
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
}

const std::vector<std::string> kClosedRoom = {"#####", "# @ #", "#####"};

TEST(LevelClock, LoweringTo12RingsTheBellButLoweringTo0DoesNotAndThenTheClockStandsStill)
{
    Scenario s(kClosedRoom);
    TimeLeft = 13;
    TimeSubTick = 3;  // one clock step before the next unit goes
    s.Run(1);
    EXPECT_EQ(TimeLeft, 12);
    EXPECT_EQ(s.SoundFrames(SoundBell), std::vector<long>{1});
    TimeLeft = 1;
    TimeSubTick = 3;
    s.Run(16);
    EXPECT_EQ(TimeLeft, 0);
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(s.SoundCount(SoundBell), 1);
    EXPECT_EQ(ShowEscapeHint, 0);
    const double subTick = TimeSubTick;
    s.Run(640);
    EXPECT_EQ(TimeSubTick, subTick);
    EXPECT_EQ(TimeLeft, 0);
}

// Whole numbers and the hint only after the end. Gems below zero show as zero from the same
// frame; -3 is not 0, so the exit-open check of that frame does not fire, the next one does.
TEST(MainGameFrame, TheStatusLineAndTheExitOpeningOnce)
{
    Scenario s(kClosedRoom);
    GemsNeeded = -3;
    s.Run(1);
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"SC:0", "G:0", "T:300"}));
    EXPECT_TRUE(s.SoundFrames(SoundOpen).empty());
    ShowEscapeHint = 1;
    Score = 12;
    s.Run(1);
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"PRESS ESCAPE!", "SC:12", "G:0", "T:300"}));
    s.Run(40);
    EXPECT_EQ(s.SoundFrames(SoundOpen), std::vector<long>{2});
    EXPECT_EQ(ExitOpened, 1);
}

// Lava cycles through 16 pictures and the blinking wall through 32; the exit stays on its shut
// picture until the last gem is taken, then cycles from the first.
TEST(MainGameFrame, AnimatedTilesCycleAndTheExitWaitsForTheLastGem)
{
    Scenario s({"#", "#~%E", "#   @"});
    GemsNeeded = 1;
    for (int frame = 1; frame <= 40; ++frame) {
        s.Run(1);
        EXPECT_EQ(s.Draws(StripLava), (std::vector<DrawAt>{{StripLava, (frame - 1) % 16, 16, 16}}));
        EXPECT_EQ(s.Draws(StripBlink), (std::vector<DrawAt>{{StripBlink, (frame - 1) % 32, 32, 16}}));
        const int exitPicture = frame <= 20 ? 0 : (frame - 21) % 16;
        EXPECT_EQ(s.Draws(StripExit), (std::vector<DrawAt>{{StripExit, exitPicture, 48, 16}})) << frame;
        if (frame == 20) GemsNeeded = 0;
    }
}

// The lit stick takes an empty cell only, and explodes in the frame the fuse ends either way.
TEST(DynamiteFuse, BurnsFortyEightFramesThenExplodes)
{
    for (const char* corner : {" ", "*"}) {
        const std::string c = corner;
        Scenario s({"#####", "#" + c + "  #", "#" + c + "@ #", "#####"});
        DynaX = DynaY = 16;
        DynaLit = 1;
        s.Run(1);
        EXPECT_EQ(s.Cave()[22], corner[0] == ' ' ? '&' : '*');
        s.Run(46);
        EXPECT_TRUE(s.SoundFrames(SoundBumm).empty());
        s.Run(1);
        EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{48});
        EXPECT_EQ(s.Draws(StripExplos).front(), (DrawAt{StripExplos, 0, 16, 16})) << corner;
        EXPECT_EQ(std::vector<double>({DynaLit, DynaY, DynaBlastX, DynaBlastY}),
                  std::vector<double>({0, 0, 16, 16}));
    }
}

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

// Drawing moves, MatAnimation and TumbrelMan called on their own so no rule interferes. A pushed
// stone arrives at rest; a rolled stone or gem arrives falling and frees the cell below.
TEST(MatAnimation, MovesCompleteOnTheSixteenthFrame)
{
    Scenario s(kRoom);
    StartMover(1, 1, 1, 10);
    StartMover(1, 2, 1, 2);
    StartMover(4, 1, 2, 3);
    const int reserved[][2] = {{2, 2}, {2, 3}, {3, 1}, {3, 2}};
    for (const auto& cell : reserved) s.SetCell(cell[0], cell[1], CellTransit);
    Repeat(16, MatAnimation);
    EXPECT_TRUE(s.CaveIs({"######", "# oG #", "# O  #", "#    #"}));
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

}  // namespace
