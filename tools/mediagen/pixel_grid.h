// Pixel art as palette indices: the one shared palette, grids of indices (-1 is transparent) and the
// transformations the art sources use to make animation frames from drawn tiles.
// Depends on image.h. Owns no state. Every transformation keeps colours inside the palette.
#pragma once
#include <string>
#include <vector>

#include "image.h"

constexpr int kClear = -1;

struct Palette {
    std::vector<char> letters;  // letter i names colour i
    std::vector<Rgba> colours;

    int index_of(char letter) const;  // kClear for '.', -2 for an unknown letter
    int nearest(int r, int g, int b) const;
};

// Reads lines "LETTER RRGGBB [name]"; throws ScriptError on a bad line.
Palette LoadPalette(const std::string& path);

struct Grid {
    int width = 0;
    int height = 0;
    std::vector<int> cells;

    Grid() = default;
    Grid(int w, int h, int fill = kClear) : width(w), height(h), cells(size_t(w) * h, fill) {}
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    int& at(int x, int y) { return cells[size_t(y) * width + x]; }
    int at(int x, int y) const { return cells[size_t(y) * width + x]; }
    int get(int x, int y) const { return contains(x, y) ? at(x, y) : kClear; }
};

Grid Shifted(const Grid& g, double dx, double dy, bool wrap);
Grid Rotated(const Grid& g, double degreesClockwise, double scale);  // about the centre, smoothed
Grid QuarterTurned(const Grid& g, int turnsClockwise);
Grid Flipped(const Grid& g, bool horizontal);
Grid Zoomed(const Grid& g, int factor);  // every pixel becomes factor x factor: a bigger picture
// Keeps the given share (0..1) of the opaque pixels: `ordered` uses an even dither pattern,
// otherwise a fixed scatter that looks like crumbling.
Grid Dissolved(const Grid& g, double share, bool ordered);
Grid Tinted(const Grid& g, const Palette& palette, int towards, double amount);
Grid Cycled(const Grid& g, const std::vector<int>& ring, int steps);
// Moves the colours of a ramp (dark to light) by `steps`, stopping at its ends: shading in the palette.
Grid Ramped(const Grid& g, const std::vector<int>& ramp, int steps);
Grid Swapped(const Grid& g, const std::vector<int>& from, const std::vector<int>& to);
Grid Clipped(const Grid& g, const Grid& mask);
Grid Outlined(const Grid& g, int colour);
void Composite(Grid& target, const Grid& layer, int x, int y);
Image ToImage(const Grid& g, const Palette& palette);
