// Maps for path-finding tests and benchmarks: drawn by hand and with random walls.
// Depends on core arrays; every generator is deterministic for its seed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "core/rt_array.h"

// Rows of text: '#' blocks, '1'..'9' is that cost, '.' is cost 1; 'H' (1e300) and 't' (1e-300)
// lie beyond float range.
void DrawMap(RtArray& map, const std::vector<std::string>& rows);
// Walls with the given chance; costs uniformly 1..maxCost (1 gives a map of equal costs).
// The four corners are always passable.
void RandomWallMap(RtArray& map, int width, int height, double wallChance, int maxCost, uint32_t seed);

double& MapCell(RtArray& map, int x, int y);
// The cells of a way written by FindPath; none unless the array has the way's two dimensions.
std::vector<std::pair<int, int>> WayCells(RtArray& result);
