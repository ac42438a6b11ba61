// FindPath: the runtime's command for the cheapest way between two cells of a grid of move costs.
// Depends on core arrays (the map and the result) and on the planners in planner.h.
#pragma once
#include "core/rt_array.h"
#include "path/planner.h"

// map: dimension 0 is x, dimension 1 is y; a value above 0 is the cost of entering that cell.
// Returns the number of cells of the way, start and goal included, and writes them into result
// as (i, 0) = x, (i, 1) = y from the start at i = 0. Returns 0 without touching result when the
// request makes no sense (a cell outside the map, start equal to goal, nothing passable), and 0
// with result dimensioned empty when the goal cannot be reached.
double FindPath(const RtArray& map, RtArray& result, double weight, double x1, double y1, double x2, double y2);

// The same command run by any planner; FindPath uses a fresh AStarPlanner.
double FindPathWith(Planner& planner, const RtArray& map, RtArray& result, double weight, double x1, double y1,
                    double x2, double y2);
