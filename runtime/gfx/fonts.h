// Bitmap fonts: 32 font slots kept in sprite slots 65504..65535, the built-in 8 x 8 font,
// printing strings and numbers as rows of cells. Depends on sprites.h and core (strings).
#pragma once
#include "core/rt_string.h"
#include "gfx/picture.h"

constexpr int kFontSlotCount = 32;

void SetFont(double slot);
double LoadFont(const char* fileName, double slot);
double LoadFont(const RtString& fileName, double slot);
void PrintText(const char* text, double x, double y);
void PrintText(const RtString& text, double x, double y);
void PrintNumber(double value, double x, double y);
struct FontCellSize {
    double width, height;
};
FontCellSize GetFontSize();

int CurrentFontSlot();
// The built-in font's 128 x 64 picture (white glyphs, dark grey outline), rows top first.
Picture BuiltInFontPicture();
