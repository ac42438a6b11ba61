// Whole-factor scaling of the 320 x 240 picture on screens and in framed windows.
#include "platform/window_geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(WindowGeometry, LargestWholeScaleIsLimitedByTheTighterSideAndNeverBelowOne) {
    const int cases[][3] = {{320, 240, 1}, {959, 720, 2}, {960, 720, 3}, {1920, 1080, 4} /* 4.5 */,
                            {3840, 2160, 9}, {1280, 480, 2} /* wide but low */, {200, 150, 1}, {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(LargestWholeScale(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
}

// A framed window leaves room for its frame and the task bar.
TEST(WindowGeometry, FramedWindowFitsComfortably) {
    const int cases[][3] = {{1920, 1080, 4} /* 960 of 1080 high */, {1920, 1040, 3} /* a task bar takes the fourth */,
                            {1024, 768, 2}, {640, 480, 1} /* the exact double would fill the desktop */,
                            {320, 240, 1}, {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(ComfortableWindowScale(c[0], c[1]), c[2]) << c[0] << "x" << c[1];
}

// The spare pixel of an odd border goes below and right.
TEST(WindowGeometry, FullScreenPictureIsCentredOnBlack) {
    const int cases[][7] = {{1920, 1080, 4, 1280, 960, 320, 60}, {960, 720, 3, 960, 720, 0, 0},
                            {645, 485, 2, 640, 480, 2, 2}};
    for (const auto& c : cases) {
        const PictureRect rect = CentredPicture(c[0], c[1]);
        EXPECT_EQ((std::vector<int>{rect.scale, rect.width, rect.height, rect.x, rect.y}),
                  (std::vector<int>{c[2], c[3], c[4], c[5], c[6]})) << c[0] << "x" << c[1];
    }
}

}  // namespace
