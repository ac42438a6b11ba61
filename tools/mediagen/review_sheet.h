// Review sheets: every picture of a list drawn at twice its size (or another zoom), strips cut into their 16 x 16
// frames (16 to a row, numbered), each under its file name in a small font built into the tool; and contact
// sheets of screenshots side by side. Depends on image.h. Owns no state.
#pragma once
#include <string>
#include <vector>

#include "image.h"

struct SheetEntry {
    std::string label;
    Image picture;
};

// Text in the tool's own 3 x 5 font (capitals, digits, ". - _ : / ( )"), scaled by `scale`.
void DrawLabel(Image& target, const std::string& text, int x, int y, int scale, Rgba colour);
Image MakeReviewSheet(const std::vector<SheetEntry>& entries, int zoom = 2);
// Pictures in rows of `columns`, each shrunk by a whole factor (colours averaged), under its label.
Image MakeContactSheet(const std::vector<SheetEntry>& entries, int columns, int shrink);
