// Where the 320 x 240 picture goes on a window or a screen: whole-number scale factors only,
// so every picture pixel becomes a square block of screen pixels and stays crisp.
// Pure arithmetic; depends on nothing.
#pragma once

constexpr int kPictureWidth = 320;
constexpr int kPictureHeight = 240;

// A rectangle in screen pixels, x and y from the top-left corner.
struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int scale = 1;
};

// The largest whole factor by which the picture fits into the area; at least 1.
int LargestWholeScale(int areaWidth, int areaHeight);

// The scaled picture centred in the area; what is left around it stays black.
PictureRect CentredPicture(int areaWidth, int areaHeight);

// Scale of a framed window: the largest factor that leaves a tenth of the usable desktop free
// for the frame, the task bar and a margin; at least 1.
int ComfortableWindowScale(int usableWidth, int usableHeight);
