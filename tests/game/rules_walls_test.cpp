// Growing walls, doors, the exit and lava through whole frames.
#include <algorithm>

#include <gtest/gtest.h>

#include "core/random.h"
#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

TEST(GrowingWalls, GrowOnlyIntoEarthWithTheGrowingPictureInTheReservedCell)
{
    Scenario s({"#",
                "#o*$idjkE&o*$idjkE&#",
                "#WWWWWWWWWWWWWWWWWW#",
                "#..................#",
                "#==================#"});
    s.ParkPlayer();
    for (int frame = 0; frame < 1600 && s.SoundCount(SoundGrow) == 0; frame++) s.Run(1);
    ASSERT_GT(s.SoundCount(SoundGrow), 0);
    EXPECT_EQ(s.Frame() % 16, 1) << "growth is decided on the first frame of a step";
    const std::string row3 = s.Cave().substr(3 * 21, 20);
    EXPECT_EQ(row3.find_first_not_of("#._"), std::string::npos) << row3;
    std::vector<DrawAt> growing;
    for (int x = 1; x <= 18; x++) {
        if (row3[x] != '_') continue;
        EXPECT_EQ(MoverKind[60 + x], 6);
        EXPECT_EQ(MoverDir[40 + x], 0) << "the wall it grew from rests";
        growing.push_back({StripWax, 0, x * 16, 48});
    }
    EXPECT_EQ(s.SoundCount(SoundGrow), static_cast<int>(growing.size())) << "one sound per growth";
    EXPECT_EQ(s.Draws(StripWax), growing);

    s.Run(15);
    EXPECT_EQ(s.Cave().substr(3 * 21, 20).find('_'), std::string::npos) << "the new walls are in";
    s.RunSteps(40);
    EXPECT_EQ(s.Cave().substr(21, 42), "#o*$idjkE&o*$idjkE&#\n#WWWWWWWWWWWWWWWWWW#\n")
        << "material, pick-ups and walls are never grown into";
    EXPECT_EQ(s.Cave().substr(3 * 21, 20).find_first_not_of("#.W_"), std::string::npos);
}

TEST(GrowingWalls, AnEnclosedWallDrawsANumberForEveryVisitedCellAndChangesNothing)
{
    const std::vector<std::string> cave = {"#", "#   ===", "#   =W=", "#   ==="};
    Scenario s(cave);
    s.ParkPlayer().Run(1);
    const uint32_t next = RandomDraw();
    SeedRandom(1);
    for (int draw = 0; draw < 19 * 14; draw++) RandomDraw();
    EXPECT_EQ(RandomDraw(), next) << "one draw per cell of rows 1..14, columns 1..19";
    EXPECT_TRUE(s.CaveIs(cave));
}

// ---- Doors, exit and lava -------------------------------------------------------------------

// Lava cycles every frame, the exit only once no gems are needed; the border is drawn too.
TEST(Doors, DoorsExitAndLavaAreDrawnEveryFrame)
{
    Scenario s({"#", "#   IJK E~"});
    s.ParkPlayer().SetCell(0, 0, CellLava);
    s.SetCell(19, 14, CellDoor1);
    s.Run(17);
    const std::vector<DrawAt> draws = s.Draws();
    for (const DrawAt& d : {DrawAt{StripLava, 0, 0, 0}, {StripTiles, 14, 64, 16}, {StripTiles, 13, 80, 16},
                            {StripTiles, 12, 96, 16}, {StripTiles, 14, 304, 224}})
        EXPECT_NE(std::find(draws.begin(), draws.end(), d), draws.end()) << ::testing::PrintToString(d);
    EXPECT_EQ(s.Draws(StripExit), (std::vector<DrawAt>{{StripExit, 0, 128, 16}}));
    EXPECT_EQ(s.Draws(StripLava).back(), (DrawAt{StripLava, 0, 144, 16})) << "frame 17 shows picture 16 mod 16";
    GemsNeeded = 0;
    s.Run(3);
    EXPECT_EQ(s.Draws(StripExit), (std::vector<DrawAt>{{StripExit, 2, 128, 16}}));
    EXPECT_EQ(s.Draws(StripLava).back(), (DrawAt{StripLava, 3, 144, 16}));
}

}  // namespace
