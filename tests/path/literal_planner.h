// The open list exactly as first described: a sorted ring buffer, binary-search insertion and a
// scan from the back for membership, with the closed set looked up in its hash chains.
// Slow on large grids; kept as the yardstick that AStarPlanner must match step for step.
#pragma once
#include "core/rt_array.h"
#include "path/planner.h"

class LiteralAStarPlanner : public Planner {
public:
    void Begin() override;
    void Search() override;
    // How often a closed node was opened again, and an open node given a cheaper way.
    long reopenings = 0;
    long rekeyings = 0;

private:
    void InsertSorted(Node* node);
    long FindOpen(int32_t x, int32_t y) const;
    // False when the pool or the open list has run out.
    bool Relax(Node* from, int32_t x, int32_t y, float newCost);
};
