// The open list exactly as first described: a sorted ring buffer, binary-search insertion and a
// scan from the back for membership, with the closed set looked up in its hash chains.
// Slow on large grids; kept as the yardstick that AStarPlanner must match step for step.
#pragma once
#include "path/planner.h"

class LiteralAStarPlanner : public Planner {
public:
    void Begin() override {
        Planner::Begin();
        if (Node* start = StartNode()) open_.PushBack(start);
    }

    void Search() override {
        ++searchCount_;
        while (!open_.Empty()) {
            Node* node = open_.Back();
            open_.PopBack();
            if (IsGoal(node)) {
                closed_->Insert(node);
                goalNode_ = node;
                break;
            }
            bool exhausted = false;
            for (const NeighbourStep& step : kNeighbourOrder) {
                if (step.diagonal && !diagonalMoves_) continue;
                int32_t x, y;
                float newCost;
                if (!TryStep(*node, step, x, y, newCost)) continue;
                if (!Relax(node, x, y, newCost)) {
                    exhausted = true;
                    break;
                }
            }
            closed_->Insert(node);
            if (exhausted) break;
        }
        done_ = true;
    }

    // How often a closed node was opened again, and an open node given a cheaper way.
    long reopenings = 0;
    long rekeyings = 0;

private:
    // False when the pool or the open list has run out.
    bool Relax(Node* from, int32_t x, int32_t y, float newCost) {
        if (Node* closedNode = closed_->Find(x, y)) {
            if (closedNode->cost <= newCost) return true;
            closed_->RemoveFound();
            ++reopenings;
            Fill(closedNode, from, x, y, newCost, KeyFor(newCost, x, y));
            InsertSorted(closedNode);
            return true;
        }
        long slot = FindOpen(x, y);
        if (slot >= 0) {
            Node* openNode = open_.At(size_t(slot));
            if (openNode->cost <= newCost) return true;
            open_.Erase(size_t(slot));
            ++rekeyings;
            Fill(openNode, from, x, y, newCost, KeyFor(newCost, x, y));
            InsertSorted(openNode);
            return true;
        }
        Node* fresh = pool_->Acquire();
        if (!fresh) return false;
        Fill(fresh, from, x, y, newCost, KeyFor(newCost, x, y));
        InsertSorted(fresh);
        return true;
    }

    // Largest key at the front; a new node goes in front of every node with an equal key.
    void InsertSorted(Node* node) {
        size_t low = 0, high = open_.Size();
        while (low < high) {
            size_t middle = (low + high) / 2;
            if (open_.At(middle)->key <= node->key)
                high = middle;
            else
                low = middle + 1;
        }
        open_.Insert(low, node);
    }

    long FindOpen(int32_t x, int32_t y) const {
        for (long i = long(open_.Size()) - 1; i >= 0; --i) {
            const Node* node = open_.At(size_t(i));
            if (node->x == x && node->y == y) return i;
        }
        return -1;
    }

};
