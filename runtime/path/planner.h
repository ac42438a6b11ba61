// Grid planners: the abstract Planner (settings, cost grid, node pool, open list, closed set) and
// AStarPlanner, the weighted A* search that FindPath runs.
// Depends on node_store.h only; reads the caller's map storage during Setup and never after.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include "path/node_store.h"

struct PlannerSettings {
    int32_t startX = 0, startY = 0;
    int32_t goalX = 0, goalY = 0;
    bool diagonalCost = true;    // a diagonal step costs sqrt(2) times the cell's cost
    bool diagonalMoves = false;  // try the four diagonal neighbours at all
    size_t poolSize = 0;         // 0: one node per cell
    size_t openCapacity = 0;     // 0: one slot per cell
    int hashExponent = 8;
    float weight = 0.5f;         // 0 cheapest way first .. 1 nearest to the goal first
    int32_t width = 0, height = 0;
    const double* map = nullptr;  // row after row; a value above 0 is the cost of entering
};

struct NeighbourStep {
    int32_t dx, dy;
    bool diagonal;
};

class Planner {
public:
    Planner() = default;
    Planner(const Planner&) = delete;
    Planner& operator=(const Planner&) = delete;
    virtual ~Planner();

    // Fails when start or goal lie outside the grid, are the same cell, or no cell is passable.
    bool Setup(const PlannerSettings& settings);
    virtual void Begin();
    virtual void Search() = 0;
    virtual void Clear();

    bool Done() const { return done_; }
    const Node* GoalNode() const { return goalNode_; }
    size_t NodeCount() const { return pool_ ? pool_->Count() : 0; }
    int SearchCount() const { return searchCount_; }
    size_t OpenCount() const { return open_.Size(); }
    const NodeHashTable* ClosedSet() const { return closed_.get(); }
    float Weight() const { return weight_; }
    // Entering (x, y): just over 1 for the cheapest cells, 2 for the dearest, -1 when blocked.
    float CellCost(int32_t x, int32_t y) const { return costGrid_[size_t(y) * size_t(width_) + size_t(x)]; }

    // The order in which an expanded node's neighbours are tried; up is y - 1.
    static const NeighbourStep kNeighbourOrder[8];
    static constexpr float kDiagonalFactor = 1.4142137f;
    static constexpr float kBlocked = -1.0f;

protected:
    // Derived planners reserve their own per-search storage here, once per Setup.
    virtual bool ReserveSearchState() { return true; }

    Node* StartNode();
    bool IsGoal(const Node* node) const { return node->x == goalX_ && node->y == goalY_; }
    size_t CellIndex(int32_t x, int32_t y) const { return size_t(y) * size_t(width_) + size_t(x); }
    size_t CellCount() const { return size_t(width_) * size_t(height_); }
    // False when the step leaves the grid or enters a blocked cell.
    bool TryStep(const Node& from, const NeighbourStep& step, int32_t& x, int32_t& y, float& newCost) const;
    float KeyFor(float cost, int32_t x, int32_t y) const;
    static void Fill(Node* node, Node* parent, int32_t x, int32_t y, float cost, float key);

    bool done_ = true;
    std::unique_ptr<NodeFactory> pool_;
    int32_t startX_ = 0, startY_ = 0;
    int32_t goalX_ = 0, goalY_ = 0;
    bool diagonalCost_ = false;
    bool diagonalMoves_ = false;
    size_t poolSize_ = 0;
    size_t openCapacity_ = 0;
    int hashExponent_ = 0;
    float weight_ = 0;
    int32_t width_ = 0, height_ = 0;
    const double* map_ = nullptr;
    std::unique_ptr<float[]> costGrid_;
    int searchCount_ = 0;
    FixedDeque<Node*> open_;
    std::unique_ptr<NodeHashTable> closed_;
    Node* goalNode_ = nullptr;

private:
    bool BuildCostGrid(const PlannerSettings& settings);
    bool AllocateParts();
    void CopySettings(const PlannerSettings& settings);
};

// Weighted A*. The open list takes the smallest key first and, among equal keys, the node that
// entered the list earliest; it is kept as a binary heap on that order so that membership,
// insertion and re-keying cost O(log n) instead of a scan of a sorted list.
class AStarPlanner : public Planner {
public:
    void Begin() override;
    void Search() override;

protected:
    bool ReserveSearchState() override;

private:
    enum class CellState : uint8_t { Unseen, Open, Closed };
    struct CellRecord {
        Node* node;
        uint32_t heapSlot;
        CellState state;
    };
    // The order of a heap slot's node, kept beside the slot so that comparing two slots
    // touches neither node.
    struct OpenOrder {
        float key;
        uint32_t cell;
        uint64_t openedAt;  // when the node last entered the open list
        bool Before(const OpenOrder& other) const {
            return key != other.key ? key < other.key : openedAt < other.openedAt;
        }
    };

    // Returns false when the pool or the open list has run out.
    bool Relax(Node* from, int32_t x, int32_t y, float newCost);
    bool Open(Node* node);
    void Close(Node* node);
    Node* TakeCheapest();
    void Reposition(uint32_t slot, Node* node, OpenOrder order);
    void PlaceAt(uint32_t slot, Node* node, const OpenOrder& order);
    OpenOrder FreshOrder(const Node* node) { return OpenOrder{node->key, uint32_t(CellOf(node)), openings_++}; }
    size_t CellOf(const Node* node) const { return CellIndex(node->x, node->y); }

    std::unique_ptr<CellRecord[]> cells_;
    std::unique_ptr<OpenOrder[]> heapOrder_;  // one per open-list slot
    uint64_t openings_ = 0;
};
