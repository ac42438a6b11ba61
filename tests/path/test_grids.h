// Maps for path-finding tests and benchmarks: drawn by hand, random walls and mazes.
// Depends on core arrays and the planner settings; every generator is deterministic for its seed.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "core/rt_array.h"
#include "path/planner.h"

// Rows of text: '#' blocks, '1'..'9' is that cost, '.' is cost 1; 'H' (1e300) and 't' (1e-300)
// lie beyond float range.
void DrawMap(RtArray& map, const std::vector<std::string>& rows);
// Walls with the given chance; costs uniformly 1..maxCost (1 gives a map of equal costs).
// The four corners are always passable.
void RandomWallMap(RtArray& map, int width, int height, double wallChance, int maxCost, uint32_t seed);
// A perfect maze between passages on even cells; the corners (0, 0) and (width-1, height-1)
// are passages joined to it.
void MazeMap(RtArray& map, int width, int height, uint32_t seed);

double& MapCell(RtArray& map, int x, int y);
// The cells of a way written by FindPath; none unless the array has the way's two dimensions.
std::vector<std::pair<int, int>> WayCells(RtArray& result);
// Planner settings for a search over a two-dimensional map.
PlannerSettings GridSettings(const RtArray& map, int x1, int y1, int x2, int y2, float weight = 0.5f);
