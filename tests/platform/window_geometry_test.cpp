// Whole-factor scaling of the 320 x 240 picture on screens and in framed windows.
#include "platform/window_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowGeometry, LargestWholeScaleIsLimitedByTheTighterSide) {
    EXPECT_EQ(LargestWholeScale(320, 240), 1);
    EXPECT_EQ(LargestWholeScale(959, 720), 2);
    EXPECT_EQ(LargestWholeScale(960, 720), 3);
    EXPECT_EQ(LargestWholeScale(1920, 1080), 4);  // 1080 / 240 = 4.5
    EXPECT_EQ(LargestWholeScale(3840, 2160), 9);
    EXPECT_EQ(LargestWholeScale(1280, 480), 2);   // wide but low
}

TEST(WindowGeometry, ScaleIsNeverBelowOne) {
    EXPECT_EQ(LargestWholeScale(200, 150), 1);
    EXPECT_EQ(LargestWholeScale(0, 0), 1);
    EXPECT_EQ(ComfortableWindowScale(320, 240), 1);
    EXPECT_EQ(ComfortableWindowScale(0, 0), 1);
}

TEST(WindowGeometry, FullScreenPictureIsCentredOnBlack) {
    PictureRect hd = CentredPicture(1920, 1080);
    EXPECT_EQ(hd.scale, 4);
    EXPECT_EQ(hd.width, 1280);
    EXPECT_EQ(hd.height, 960);
    EXPECT_EQ(hd.x, 320);
    EXPECT_EQ(hd.y, 60);

    PictureRect exact = CentredPicture(960, 720);
    EXPECT_EQ(exact.scale, 3);
    EXPECT_EQ(exact.x, 0);
    EXPECT_EQ(exact.y, 0);
}

TEST(WindowGeometry, OddBordersPutTheSparePixelBelowAndRight) {
    PictureRect rect = CentredPicture(645, 485);
    EXPECT_EQ(rect.scale, 2);
    EXPECT_EQ(rect.x, 2);
    EXPECT_EQ(rect.y, 2);
}

// A framed window leaves room for its frame and the task bar.
TEST(WindowGeometry, FramedWindowFitsComfortably) {
    EXPECT_EQ(ComfortableWindowScale(1920, 1080), 4);  // 960 of 1080 high
    EXPECT_EQ(ComfortableWindowScale(1920, 1040), 3);  // a task bar takes the fourth
    EXPECT_EQ(ComfortableWindowScale(1024, 768), 2);
    EXPECT_EQ(ComfortableWindowScale(640, 480), 1);    // the exact double would fill the desktop
}

}  // namespace
