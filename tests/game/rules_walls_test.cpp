// Growing walls, doors, the exit and lava through whole frames.
#include <algorithm>

#include <gtest/gtest.h>

#include "core/random.h"
#include "game/state.h"
#include "tests/game/scenario.h"

namespace {

void ParkPlayer(Scenario& s) { s.PlacePlayer(18, 13); }

// Runs frames until the one on which a wall starts to grow; false when none does in `maxSteps`.
bool RunUntilGrowth(Scenario& s, int maxSteps)
{
    const int before = s.SoundCount(SoundGrow);
    for (long frame = 0; frame < maxSteps * 16L; frame++) {
        s.Run(1);
        if (s.SoundCount(SoundGrow) > before) return true;
    }
    return false;
}

// A row of growing walls with every kind of material and pick-up above and earth below.
const std::vector<std::string> kWallRow = {"#",
                                           "#o*$idjkE&o*$idjkE&#",
                                           "#WWWWWWWWWWWWWWWWWW#",
                                           "#..................#",
                                           "#==================#"};

TEST(GrowingWalls, GrowOnlyIntoEarthWithTheGrowingPictureInTheReservedCell)
{
    Scenario s(kWallRow);
    ParkPlayer(s);
    ASSERT_TRUE(RunUntilGrowth(s, 100));
    EXPECT_EQ(s.Frame() % 16, 1) << "growth is decided on the first frame of a step";
    const std::string row3 = s.Cave().substr(3 * 21, 20);
    EXPECT_EQ(row3.find_first_not_of("#._"), std::string::npos) << row3;
    std::vector<DrawAt> growing;
    for (int x = 1; x <= 18; x++) {
        if (row3[x] != '_') continue;
        EXPECT_EQ(MoverKind[60 + x], 6);
        EXPECT_EQ(MoverDir[60 + x], 1);
        EXPECT_EQ(MoverDir[40 + x], 0) << "the wall it grew from rests";
        growing.push_back({StripWax, 0, x * 16, 48});
    }
    EXPECT_EQ(s.SoundCount(SoundGrow), static_cast<int>(growing.size())) << "one sound per growth";
    EXPECT_EQ(s.DrawsOfStrip(StripWax), growing);

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
    ParkPlayer(s);
    s.Run(1);
    const uint32_t next = RandomDraw();

    SeedRandom(1);
    for (int draw = 0; draw < 19 * 14; draw++) RandomDraw();
    EXPECT_EQ(RandomDraw(), next) << "one draw per cell of rows 1..14, columns 1..19";
    EXPECT_TRUE(s.CaveIs(cave));
    EXPECT_EQ(MoverKind[45], 6);
    EXPECT_EQ(MoverDir[45], 0);
}

TEST(GrowingWalls, AGrowingWallBesideABugSetsItOffInsteadOfGrowing)
{
    Scenario s({"#",
                "#   ===",
                "#   W<=",
                "#   ==="});
    ParkPlayer(s);
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(5, 2), CellBlastToSaphir);
    EXPECT_EQ(s.CellAtXY(4, 2), CellBlastToGem);
}

// ---- Doors, exit and lava -------------------------------------------------------------------

TEST(Doors, DoorsExitAndLavaAreDrawnEveryFrameAlsoOnTheBorder)
{
    Scenario s({"#",
                "#   IJK E~"});
    ParkPlayer(s);
    s.SetCell(0, 0, CellLava);
    s.SetCell(19, 14, CellDoor1);
    s.Run(1);
    const std::vector<DrawAt> draws = s.Draws();
    auto drawn = [&](const DrawAt& d) { return std::find(draws.begin(), draws.end(), d) != draws.end(); };
    EXPECT_TRUE(drawn({StripLava, 0, 0, 0}));
    EXPECT_TRUE(drawn({StripTiles, 14, 64, 16}));
    EXPECT_TRUE(drawn({StripTiles, 13, 80, 16}));
    EXPECT_TRUE(drawn({StripTiles, 12, 96, 16}));
    EXPECT_TRUE(drawn({StripExit, 0, 128, 16}));
    EXPECT_TRUE(drawn({StripLava, 0, 144, 16}));
    EXPECT_TRUE(drawn({StripTiles, 14, 304, 224}));
}

TEST(Doors, LavaCyclesEveryFrameAndTheExitOnlyOnceNoGemsAreNeeded)
{
    Scenario s({"#",
                "#   E~"});
    ParkPlayer(s);
    s.Run(17);
    EXPECT_EQ(s.DrawsOfStrip(StripLava), (std::vector<DrawAt>{{StripLava, 0, 80, 16}}))
        << "frame 17 shows lava picture 16 mod 16";
    EXPECT_EQ(s.DrawsOfStrip(StripExit), (std::vector<DrawAt>{{StripExit, 0, 64, 16}}));
    GemsNeeded = 0;
    s.Run(3);
    EXPECT_EQ(s.DrawsOfStrip(StripExit), (std::vector<DrawAt>{{StripExit, 2, 64, 16}}));
    EXPECT_EQ(s.DrawsOfStrip(StripLava), (std::vector<DrawAt>{{StripLava, 3, 80, 16}}));
}

}  // namespace
