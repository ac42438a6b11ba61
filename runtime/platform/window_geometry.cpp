// Whole-number scaling of the picture.
#include "platform/window_geometry.h"

#include <algorithm>

int LargestWholeScale(int areaWidth, int areaHeight) {
    int scale = std::min(areaWidth / kPictureWidth, areaHeight / kPictureHeight);
    return std::max(scale, 1);
}

PictureRect CentredPicture(int areaWidth, int areaHeight) {
    PictureRect rect;
    rect.scale = LargestWholeScale(areaWidth, areaHeight);
    rect.width = kPictureWidth * rect.scale;
    rect.height = kPictureHeight * rect.scale;
    rect.x = (areaWidth - rect.width) / 2;
    rect.y = (areaHeight - rect.height) / 2;
    return rect;
}

int ComfortableWindowScale(int usableWidth, int usableHeight) {
    return LargestWholeScale(usableWidth * 9 / 10, usableHeight * 9 / 10);
}
