// Maps for path-finding tests and benchmarks: drawn by hand and with random walls.
// Depends on core arrays; every generator is deterministic for its seed.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/rt_array.h"

inline double& MapCell(RtArray& map, int x, int y) { return ArrayElement2(map, x, y); }

// Rows of text: '#' blocks, '1'..'9' is that cost, '.' is cost 1; 'H' (1e300) and 't' (1e-300)
// lie beyond float range.
inline void DrawMap(RtArray& map, const std::vector<std::string>& rows) {
    int height = int(rows.size());
    int width = height ? int(rows[0].size()) : 0;
    ArrayDim(map, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char c = rows[y][x];
            MapCell(map, x, y) = c == '#' ? 0 : c == '.' ? 1 : c == 'H' ? 1e300 : c == 't' ? 1e-300 : c - '0';
        }
}

// Walls with the given chance; costs uniformly 1..maxCost (1 gives a map of equal costs).
// The four corners are always passable.
inline void RandomWallMap(RtArray& map, int width, int height, double wallChance, int maxCost, uint32_t seed) {
    std::mt19937 rng(seed);
    auto chance = [&rng] { return double(rng()) / 4294967296.0; };
    ArrayDim(map, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            MapCell(map, x, y) = chance() < wallChance ? 0 : 1 + int(rng() % uint32_t(maxCost));
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
        if (MapCell(map, x, y) <= 0) MapCell(map, x, y) = 1;
}

// The cells of a way written by FindPath; none unless the array has the way's two dimensions.
inline std::vector<std::pair<int, int>> WayCells(RtArray& result) {
    std::vector<std::pair<int, int>> cells;
    if (result.dimensions != 2) return cells;
    for (int i = 0; i < result.size0; ++i) cells.push_back({int(ArrayElement2(result, i, 0)), int(ArrayElement2(result, i, 1))});
    return cells;
}
