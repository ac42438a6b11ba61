// The level clock, the exit-open sound, the status line and the dynamite fuse, played through
// whole frames.
#include <gtest/gtest.h>

#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/scenario.h"

namespace {

const std::vector<std::string> kClosedRoom = {
    "#####",
    "# @ #",
    "#####",
};

// Puts the clock one clock step before it lowers TimeLeft from `units`.
void ClockAboutToLower(double units)
{
    TimeLeft = units;
    TimeSubTick = 3;
}

TEST(LevelClock, LoweringTo12RingsTheBellButLoweringTo0DoesNot)
{
    Scenario s(kClosedRoom);
    ClockAboutToLower(13);
    s.Run(1);
    EXPECT_EQ(TimeLeft, 12);
    EXPECT_EQ(s.SoundFrames(SoundBell), std::vector<long>{1});

    ClockAboutToLower(1);
    s.Run(16);
    EXPECT_EQ(TimeLeft, 0);
    EXPECT_EQ(LevelOver, 1);
    EXPECT_EQ(s.SoundCount(SoundBell), 1);
    EXPECT_EQ(ShowEscapeHint, 0);
}

TEST(LevelClock, StepsThatDoNotLowerTheClockAreSilent)
{
    Scenario s(kClosedRoom);
    TimeLeft = 5;
    TimeSubTick = 1;
    s.Run(32);  // two clock steps, neither reaches a decrement
    EXPECT_EQ(TimeLeft, 5);
    EXPECT_EQ(TimeSubTick, 3);
    EXPECT_EQ(s.SoundCount(SoundBell), 0);
}

TEST(LevelClock, StandsStillOnceTheLevelIsOver)
{
    Scenario s(kClosedRoom);
    s.Run(100);
    const double time = TimeLeft, subTick = TimeSubTick;
    LevelOver = 1;
    s.Run(640);
    EXPECT_EQ(TimeLeft, time);
    EXPECT_EQ(TimeSubTick, subTick);
}

TEST(LevelClock, FirstUnitGoesOnFrame49AndTheLastOnFrame19185)
{
    Scenario s(kClosedRoom);
    s.Run(48);
    EXPECT_EQ(TimeLeft, 300);
    s.Run(1);
    EXPECT_EQ(TimeLeft, 299);
    s.Run(19184 - 49);
    EXPECT_EQ(TimeLeft, 1);
    EXPECT_EQ(LevelOver, 0);
    s.Run(1);
    EXPECT_EQ(TimeLeft, 0);
    EXPECT_EQ(LevelOver, 1);
    // Twelve bells, for 12 down to 1, each on the frame of its decrement.
    const std::vector<long> bells = s.SoundFrames(SoundBell);
    ASSERT_EQ(bells.size(), 12u);
    EXPECT_EQ(bells.front(), 49 + 287 * 64);
    EXPECT_EQ(bells.back(), 49 + 298 * 64);
}

TEST(MainGameFrame, EscapeHeldOnEntryEndsBeforeAnythingIsDrawn)
{
    Scenario s(kClosedRoom);
    const int presented = s.renderer().presentCount;
    s.Hold(ScanEscape, 1, 1);
    EXPECT_FALSE(s.Run(1));
    EXPECT_EQ(s.renderer().presentCount, presented);
    EXPECT_EQ(BlinkFrame, 0);
    EXPECT_EQ(FrameTick, 0);
}

TEST(MainGameFrame, EscapeLaterEndsThatFrame)
{
    Scenario s(kClosedRoom);
    s.Hold(ScanEscape, 5, 5);
    EXPECT_FALSE(s.Run(10));
    EXPECT_EQ(s.Frame(), 4);
}

TEST(MainGameFrame, ExitOpensWithItsSoundOnTheFirstFrameWhenNoGemsAreNeeded)
{
    Scenario s(kClosedRoom);
    GemsNeeded = 0;
    s.Run(40);
    EXPECT_EQ(s.SoundFrames(SoundOpen), std::vector<long>{1});
    EXPECT_EQ(ExitOpened, 1);
}

TEST(MainGameFrame, GemsBelowZeroShowAsZeroFromTheSameFrame)
{
    Scenario s(kClosedRoom);
    GemsNeeded = -3;
    s.Run(1);
    EXPECT_EQ(GemsNeeded, 0);
    const std::vector<std::string> texts = s.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "G:0"), texts.end());
    // -3 is not 0, so the exit-open check of that frame did not fire; the next one does.
    EXPECT_TRUE(s.SoundFrames(SoundOpen).empty());
    s.Run(1);
    EXPECT_EQ(s.SoundFrames(SoundOpen), std::vector<long>{2});
}

TEST(MainGameFrame, StatusLineShowsWholeNumbersAndTheHintOnlyAfterTheEnd)
{
    Scenario s(kClosedRoom);
    s.Run(1);
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"SC:0", "G:99", "T:300"}));
    ShowEscapeHint = 1;
    Score = 12;
    s.Run(1);
    EXPECT_EQ(s.Texts(), (std::vector<std::string>{"PRESS ESCAPE!", "SC:12", "G:99", "T:300"}));
}

TEST(MainGameFrame, DrawsTheCaveFirstAndTheTextLast)
{
    Scenario s({
        "#######",
        "# @ E #",
        "#######",
    });
    s.Run(1);
    const std::vector<DrawAt> draws = s.Draws();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.front(), (DrawAt{StripTiles, 7, 0, 0}));
    // The exit tile by ShowMap, then the player, then the exit picture over its tile.
    auto position = [&](const DrawAt& d) { return std::find(draws.begin(), draws.end(), d) - draws.begin(); };
    const long tile = position({StripTiles, 6, 64, 16});
    const long player = position({StripAstroD, 0, 32, 16});
    const long exitPicture = position({StripExit, 0, 64, 16});
    EXPECT_LT(tile, player);
    EXPECT_LT(player, exitPicture);
    EXPECT_LT(exitPicture, static_cast<long>(draws.size()));
}

// One picture from each drawing routine, so the sequence of strips shows the frame order.
TEST(MainGameFrame, DrawsInTheOrderOfItsRoutines)
{
    Scenario s({
        "##########",
        "#.   @   #",
        "#        #",
        "#  >     #",
        "#       ~#",
        "##########",
    });
    MoverKind[2 * 20 + 2] = 4;  // a saphir being crushed
    MoverPixelX[2 * 20 + 2] = 32;
    MoverPixelY[2 * 20 + 2] = 32;
    ErdAnimX = ErdAnimY = CircleAnimX = 16;
    CircleAnimY = 32;
    DynaX = 112;
    DynaY = 32;
    BoyBlastX = 128;
    BoyBlastY = 48;
    s.Run(1);
    std::vector<int> strips;
    for (const DrawAt& draw : s.Draws()) {
        const int strip = (draw.strip >= StripBugR && draw.strip <= StripBugTurnL) ? StripBugR : draw.strip;
        if (strips.empty() || strips.back() != strip) strips.push_back(strip);
    }
    EXPECT_EQ(strips, (std::vector<int>{StripTiles, StripAstroD, StripQuish, StripBugR, StripLava, StripErd,
                                        StripCircle, StripDynamite, StripExplos}));
}

TEST(DynamiteFuse, ExplodesInTheFrameItsFuseEnds)
{
    Scenario s({
        "######",
        "#    #",
        "#  @ #",
        "######",
    });
    DynaX = 16;
    DynaY = 16;
    s.Run(48);
    EXPECT_EQ(s.DrawsOfStrip(StripExplos).front(), (DrawAt{StripExplos, 0, 16, 16}));
    EXPECT_EQ(DynaBlastFrame, 1);
}

TEST(DynamiteFuse, BurnsFortyEightFramesOnItsCellThenExplodes)
{
    Scenario s({
        "#####",
        "#   #",
        "# @ #",
        "#####",
    });
    DynaX = 16;
    DynaY = 16;
    DynaLit = 1;
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(1, 1), CellDynamiteLit);
    EXPECT_EQ(s.DrawsOfStrip(StripDynamite), (std::vector<DrawAt>{{StripDynamite, 0, 16, 16}}));
    s.Run(46);
    EXPECT_EQ(DynaLit, 1);
    EXPECT_TRUE(s.SoundFrames(SoundBumm).empty());
    s.Run(1);
    EXPECT_EQ(s.SoundFrames(SoundBumm), std::vector<long>{48});
    EXPECT_EQ(DynaLit, 0);
    EXPECT_EQ(DynaY, 0);
    EXPECT_EQ(DynaBlastX, 16);
    EXPECT_EQ(DynaBlastY, 16);
}

TEST(DynamiteFuse, LeavesACellThatIsNotEmptyAlone)
{
    Scenario s({
        "#####",
        "#*  #",
        "#*@ #",
        "#####",
    });
    DynaX = 16;
    DynaY = 16;
    s.Run(1);
    EXPECT_EQ(s.CellAtXY(1, 1), CellGem);
}

}  // namespace
