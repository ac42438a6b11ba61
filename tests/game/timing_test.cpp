// The level clock, the exit-open sound, the status line and the dynamite fuse, played through
// whole frames.
#include <gtest/gtest.h>

#include "game/state.h"
#include "input/keyboard.h"
#include "tests/game/scenario.h"

namespace {

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

// The level's last unit goes on frame 19185: see the runner's tests.
TEST(LevelClock, TheFirstUnitGoesOnFrame49)
{
    Scenario s(kClosedRoom);
    s.Run(48);
    EXPECT_EQ(TimeLeft, 300);
    s.Run(1);
    EXPECT_EQ(TimeLeft, 299);
}

// Escape held on entry ends before anything is drawn; later it ends that frame.
TEST(MainGameFrame, EscapeEndsTheFrameItIsSeenIn)
{
    for (long escapeFrame : {1, 5}) {
        Scenario s(kClosedRoom);
        const int presented = s.renderer().presentCount;
        s.Hold(ScanEscape, escapeFrame, escapeFrame);
        EXPECT_FALSE(s.Run(10));
        EXPECT_EQ(s.Frame(), escapeFrame - 1);
        EXPECT_EQ(s.renderer().presentCount, presented + escapeFrame - 1);
    }
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

// One picture from each drawing routine, so the sequence of strips shows the frame order.
TEST(MainGameFrame, DrawsInTheOrderOfItsRoutines)
{
    Scenario s({"##########",
                "#.   @  E#",
                "#        #",
                "#  >     #",
                "#       ~#",
                "##########"});
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
    EXPECT_EQ(strips, (std::vector<int>{StripTiles, StripAstroD, StripQuish, StripBugR, StripExit, StripLava,
                                        StripErd, StripCircle, StripDynamite, StripExplos}));
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
        EXPECT_EQ(DynaLit + DynaY, 0);
        EXPECT_EQ(DynaBlastX + DynaBlastY, 32);
    }
}

}  // namespace
