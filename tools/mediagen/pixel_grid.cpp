#include "pixel_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "script_reader.h"

int Palette::index_of(char letter) const {
    if (letter == '.') return kClear;
    for (size_t i = 0; i < letters.size(); ++i)
        if (letters[i] == letter) return int(i);
    return -2;
}

int Palette::nearest(int r, int g, int b) const {
    int best = 0;
    long bestDistance = -1;
    for (size_t i = 0; i < colours.size(); ++i) {
        // Green counts most, as the eye sees it.
        long dr = r - colours[i].r, dg = g - colours[i].g, db = b - colours[i].b;
        long distance = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (bestDistance < 0 || distance < bestDistance) best = int(i), bestDistance = distance;
    }
    return best;
}

Palette LoadPalette(const std::string& path) {
    Palette palette;
    for (const ScriptLine& line : ReadScript(path)) {
        const std::string& letter = line.word(0);
        const std::string& hex = line.word(1);
        if (letter.size() != 1 || letter == ".") line.fail("a palette entry starts with one letter other than '.'");
        if (palette.index_of(letter[0]) != -2) line.fail("letter '" + letter + "' is given twice");
        char* end = nullptr;
        unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
        if (hex.size() != 6 || *end != '\0') line.fail("a colour is six hex digits RRGGBB, not '" + hex + "'");
        palette.letters.push_back(letter[0]);
        palette.colours.push_back(Rgba{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255});
    }
    return palette;
}

Grid Shifted(const Grid& g, double dx, double dy, bool wrap) {
    int ox = int(std::floor(dx)), oy = int(std::floor(dy));
    Grid out(g.width, g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            int sx = x - ox, sy = y - oy;
            if (wrap) sx = ((sx % g.width) + g.width) % g.width, sy = ((sy % g.height) + g.height) % g.height;
            out.at(x, y) = g.get(sx, sy);
        }
    return out;
}

namespace {

// Scale2x: doubles a picture and rounds its diagonal steps, so rotated art keeps clean edges.
Grid Doubled(const Grid& g) {
    Grid out(g.width * 2, g.height * 2);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            int p = g.at(x, y);
            int a = g.contains(x, y - 1) ? g.at(x, y - 1) : p, d = g.contains(x, y + 1) ? g.at(x, y + 1) : p;
            int c = g.contains(x - 1, y) ? g.at(x - 1, y) : p, b = g.contains(x + 1, y) ? g.at(x + 1, y) : p;
            out.at(2 * x, 2 * y) = (c == a && c != d && a != b) ? a : p;
            out.at(2 * x + 1, 2 * y) = (a == b && a != c && b != d) ? b : p;
            out.at(2 * x, 2 * y + 1) = (d == c && d != b && c != a) ? c : p;
            out.at(2 * x + 1, 2 * y + 1) = (b == d && b != a && d != c) ? d : p;
        }
    return out;
}

}  // namespace

Grid Rotated(const Grid& g, double degreesClockwise, double scale) {
    if (scale <= 0.01) return Grid(g.width, g.height);
    const Grid big = Doubled(Doubled(Doubled(g)));
    const double angle = degreesClockwise * 3.14159265358979323846 / 180;
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    const double cx = g.width / 2.0, cy = g.height / 2.0;
    Grid out(g.width, g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            double rx = (x + 0.5 - cx) / scale, ry = (y + 0.5 - cy) / scale;
            double sx = cx + rx * cosA + ry * sinA, sy = cy - rx * sinA + ry * cosA;
            out.at(x, y) = big.get(int(std::floor(sx * 8)), int(std::floor(sy * 8)));
        }
    return out;
}

Grid QuarterTurned(const Grid& g, int turnsClockwise) {
    Grid out = g;
    for (int turn = ((turnsClockwise % 4) + 4) % 4; turn > 0; --turn) {
        Grid next(out.height, out.width);
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x) next.at(out.height - 1 - y, x) = out.at(x, y);
        out = next;
    }
    return out;
}

Grid Flipped(const Grid& g, bool horizontal) {
    Grid out(g.width, g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            out.at(x, y) = horizontal ? g.at(g.width - 1 - x, y) : g.at(x, g.height - 1 - y);
    return out;
}

Grid Zoomed(const Grid& g, int factor) {
    factor = std::max(1, factor);
    Grid out(g.width * factor, g.height * factor);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.at(x, y) = g.at(x / factor, y / factor);
    return out;
}

Grid Dissolved(const Grid& g, double share, bool ordered) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    Grid out = g;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            double threshold;
            if (ordered) {
                threshold = (bayer[y & 3][x & 3] + 0.5) / 16;
            } else {
                unsigned h = unsigned(x) * 374761393u + unsigned(y) * 668265263u;
                h = (h ^ (h >> 13)) * 1274126177u;
                threshold = double((h ^ (h >> 16)) & 1023) / 1024;
            }
            if (threshold >= share) out.at(x, y) = kClear;
        }
    return out;
}

Grid Tinted(const Grid& g, const Palette& palette, int towards, double amount) {
    Grid out = g;
    const Rgba& t = palette.colours[size_t(towards)];
    for (int& cell : out.cells) {
        if (cell < 0) continue;
        const Rgba& c = palette.colours[size_t(cell)];
        auto mix = [amount](int from, int to) { return int(std::lround(from + (to - from) * amount)); };
        cell = palette.nearest(mix(c.r, t.r), mix(c.g, t.g), mix(c.b, t.b));
    }
    return out;
}

Grid Cycled(const Grid& g, const std::vector<int>& ring, int steps) {
    Grid out = g;
    const int n = int(ring.size());
    for (int& cell : out.cells) {
        auto found = std::find(ring.begin(), ring.end(), cell);
        if (found != ring.end()) cell = ring[size_t((((found - ring.begin()) + steps) % n + n) % n)];
    }
    return out;
}

Grid Ramped(const Grid& g, const std::vector<int>& ramp, int steps) {
    Grid out = g;
    const int last = int(ramp.size()) - 1;
    for (int& cell : out.cells) {
        auto found = std::find(ramp.begin(), ramp.end(), cell);
        if (found != ramp.end()) cell = ramp[size_t(std::clamp(int(found - ramp.begin()) + steps, 0, last))];
    }
    return out;
}

Grid Swapped(const Grid& g, const std::vector<int>& from, const std::vector<int>& to) {
    Grid out = g;
    for (int& cell : out.cells) {
        auto found = std::find(from.begin(), from.end(), cell);
        if (found != from.end()) cell = to[size_t(found - from.begin())];
    }
    return out;
}

Grid Clipped(const Grid& g, const Grid& mask) {
    Grid out = g;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            if (mask.get(x, y) == kClear) out.at(x, y) = kClear;
    return out;
}

Grid Outlined(const Grid& g, int colour) {
    Grid out = g;
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            if (g.at(x, y) != kClear) continue;
            bool touches = g.get(x - 1, y) >= 0 || g.get(x + 1, y) >= 0 || g.get(x, y - 1) >= 0 || g.get(x, y + 1) >= 0;
            if (touches) out.at(x, y) = colour;
        }
    return out;
}

void Composite(Grid& target, const Grid& layer, int x, int y) {
    for (int ly = 0; ly < layer.height; ++ly)
        for (int lx = 0; lx < layer.width; ++lx)
            if (layer.at(lx, ly) != kClear && target.contains(x + lx, y + ly)) target.at(x + lx, y + ly) = layer.at(lx, ly);
}

Image ToImage(const Grid& g, const Palette& palette) {
    Image image(g.width, g.height);
    for (size_t i = 0; i < g.cells.size(); ++i)
        if (g.cells[i] >= 0) image.pixels[i] = palette.colours[size_t(g.cells[i])];
    return image;
}
