#include "path/planner.h"

#include <cfloat>
#include <cstdlib>
#include <new>

const NeighbourStep Planner::kNeighbourOrder[8] = {
    {-1, -1, true}, {0, -1, false}, {1, -1, true}, {1, 0, false},
    {-1, 0, false}, {-1, 1, true},  {0, 1, false}, {1, 1, true},
};

namespace {

bool InGrid(int32_t x, int32_t y, int32_t width, int32_t height) {
    return x >= 0 && y >= 0 && x < width && y < height;
}

// A positive map value stays passable even where float cannot hold it: too large saturates,
// too small becomes the smallest positive float, so no cell turns blocked or infinitely dear.
float NarrowCost(double value) {
    if (!(value > 0)) return Planner::kBlocked;
    if (value >= double(FLT_MAX)) return FLT_MAX;
    float narrowed = float(value);
    return narrowed > 0 ? narrowed : FLT_TRUE_MIN;
}

}  // namespace

Planner::~Planner() { Clear(); }

bool Planner::Setup(const PlannerSettings& settings) {
    if (!InGrid(settings.startX, settings.startY, settings.width, settings.height)) return false;
    if (!InGrid(settings.goalX, settings.goalY, settings.width, settings.height)) return false;
    if (settings.startX == settings.goalX && settings.startY == settings.goalY) return false;
    if (!settings.map) return false;
    Clear();
    costGrid_.reset();
    CopySettings(PlannerSettings{});
    try {
        if (!BuildCostGrid(settings)) return false;
        CopySettings(settings);
        if (!AllocateParts()) return false;
    } catch (const std::bad_alloc&) {
        // A grid too large for memory has no way through it that we could report.
        costGrid_.reset();
        return false;
    }
    searchCount_ = 0;
    done_ = true;
    return true;
}

bool Planner::BuildCostGrid(const PlannerSettings& settings) {
    size_t cells = size_t(settings.width) * size_t(settings.height);
    costGrid_.reset(new float[cells]);
    float dearest = 0;
    for (size_t i = 0; i < cells; ++i) {
        costGrid_[i] = NarrowCost(settings.map[i]);
        if (costGrid_[i] > dearest) dearest = costGrid_[i];
    }
    if (!(dearest > 0)) return false;
    for (size_t i = 0; i < cells; ++i)
        if (costGrid_[i] != kBlocked) costGrid_[i] = costGrid_[i] / dearest + 1.0f;
    return true;
}

void Planner::CopySettings(const PlannerSettings& settings) {
    startX_ = settings.startX;
    startY_ = settings.startY;
    goalX_ = settings.goalX;
    goalY_ = settings.goalY;
    diagonalCost_ = settings.diagonalCost;
    diagonalMoves_ = settings.diagonalMoves;
    poolSize_ = settings.poolSize;
    openCapacity_ = settings.openCapacity;
    hashExponent_ = settings.hashExponent;
    // A weight that is not a number would make every key NaN and the order meaningless.
    float weight = settings.weight;
    weight_ = !(weight > 0) ? 0.0f : weight > 1 ? 1.0f : weight;
    width_ = settings.width;
    height_ = settings.height;
    map_ = settings.map;
}

bool Planner::AllocateParts() {
    size_t cells = CellCount();
    pool_ = std::make_unique<NodeFactory>(poolSize_ ? poolSize_ : cells);
    open_.Reserve(openCapacity_ ? openCapacity_ : cells);
    closed_ = std::make_unique<NodeHashTable>(hashExponent_);
    return ReserveSearchState();
}

void Planner::Begin() {
    done_ = false;
    searchCount_ = 0;
    goalNode_ = nullptr;
}

void Planner::Clear() {
    if (pool_) {
        for (size_t i = open_.Size(); i > 0; --i) pool_->Release();
        for (size_t i = closed_ ? closed_->CountNodes() : 0; i > 0; --i) pool_->Release();
    }
    open_.Clear();
    if (closed_) closed_->Empty();
    goalNode_ = nullptr;
    done_ = true;
}

Node* Planner::StartNode() {
    Node* start = pool_ ? pool_->Acquire() : nullptr;
    if (start) Fill(start, nullptr, startX_, startY_, 0.0f, 0.0f);
    return start;
}

bool Planner::TryStep(const Node& from, const NeighbourStep& step, int32_t& x, int32_t& y,
                      float& newCost) const {
    x = from.x + step.dx;
    y = from.y + step.dy;
    if (!InGrid(x, y, width_, height_)) return false;
    float entry = CellCost(x, y);
    if (entry == kBlocked) return false;
    float factor = step.diagonal && diagonalCost_ ? kDiagonalFactor : 1.0f;
    newCost = from.cost + entry * factor;
    return true;
}

float Planner::KeyFor(float cost, int32_t x, int32_t y) const {
    int64_t distance = std::llabs(int64_t(goalX_) - x) + std::llabs(int64_t(goalY_) - y);
    float estimate = float(distance);
    return (estimate - cost) * weight_ + cost;
}

void Planner::Fill(Node* node, Node* parent, int32_t x, int32_t y, float cost, float key) {
    node->parent = parent;
    node->x = x;
    node->y = y;
    node->cost = cost;
    node->key = key;
    node->next = nullptr;
}

// ---- AStarPlanner ----

bool AStarPlanner::ReserveSearchState() {
    cells_.reset(new CellRecord[CellCount()]);
    heapOrder_.reset(new OpenOrder[open_.Capacity() > 0 ? open_.Capacity() : 1]);
    return true;
}

void AStarPlanner::Begin() {
    Planner::Begin();
    if (!cells_) return;
    for (size_t i = 0, n = CellCount(); i < n; ++i) cells_[i] = CellRecord{nullptr, 0, CellState::Unseen};
    openings_ = 0;
    Node* start = StartNode();
    if (start) {
        cells_[CellOf(start)].node = start;
        Open(start);
    }
}

void AStarPlanner::Search() {
    ++searchCount_;
    while (!open_.Empty()) {
        Node* node = TakeCheapest();
        if (IsGoal(node)) {
            Close(node);
            goalNode_ = node;
            break;
        }
        for (const NeighbourStep& step : kNeighbourOrder) {
            if (step.diagonal && !diagonalMoves_) continue;
            int32_t x, y;
            float newCost;
            if (!TryStep(*node, step, x, y, newCost)) continue;
            if (!Relax(node, x, y, newCost)) {
                // Out of nodes or open slots: only a pool smaller than the grid gets here, and a
                // half-searched grid cannot name a way.
                Close(node);
                done_ = true;
                return;
            }
        }
        Close(node);
    }
    done_ = true;
}

bool AStarPlanner::Relax(Node* from, int32_t x, int32_t y, float newCost) {
    CellRecord& record = cells_[CellIndex(x, y)];
    switch (record.state) {
    case CellState::Closed:
        if (record.node->cost <= newCost) return true;
        closed_->Find(x, y);
        closed_->RemoveFound();
        Fill(record.node, from, x, y, newCost, KeyFor(newCost, x, y));
        return Open(record.node);
    case CellState::Open:
        if (record.node->cost <= newCost) return true;
        // Taken out and put back: it counts as the newest entry of the list.
        Fill(record.node, from, x, y, newCost, KeyFor(newCost, x, y));
        Reposition(record.heapSlot, record.node, FreshOrder(record.node));
        return true;
    case CellState::Unseen:
        break;
    }
    Node* node = pool_->Acquire();
    if (!node) return false;
    Fill(node, from, x, y, newCost, KeyFor(newCost, x, y));
    record.node = node;
    return Open(node);
}

bool AStarPlanner::Open(Node* node) {
    if (!open_.PushBack(node)) return false;
    cells_[CellOf(node)].state = CellState::Open;
    Reposition(uint32_t(open_.Size() - 1), node, FreshOrder(node));
    return true;
}

void AStarPlanner::Close(Node* node) {
    closed_->Insert(node);
    cells_[CellOf(node)].state = CellState::Closed;
}

Node* AStarPlanner::TakeCheapest() {
    Node* cheapest = open_.At(0);
    uint32_t last = uint32_t(open_.Size() - 1);
    Node* lastNode = open_.At(last);
    OpenOrder lastOrder = heapOrder_[last];
    open_.PopBack();
    if (last > 0) Reposition(0, lastNode, lastOrder);
    return cheapest;
}

void AStarPlanner::PlaceAt(uint32_t slot, Node* node, const OpenOrder& order) {
    open_.At(slot) = node;
    heapOrder_[slot] = order;
    cells_[order.cell].heapSlot = slot;
}

// Puts node with its order into slot, then moves it up or down until the heap order holds.
void AStarPlanner::Reposition(uint32_t slot, Node* node, OpenOrder order) {
    while (slot > 0) {
        uint32_t parent = (slot - 1) / 2;
        if (!order.Before(heapOrder_[parent])) break;
        PlaceAt(slot, open_.At(parent), heapOrder_[parent]);
        slot = parent;
    }
    uint32_t size = uint32_t(open_.Size());
    for (;;) {
        uint32_t child = 2 * slot + 1;
        if (child >= size) break;
        if (child + 1 < size && heapOrder_[child + 1].Before(heapOrder_[child])) ++child;
        if (!heapOrder_[child].Before(order)) break;
        PlaceAt(slot, open_.At(child), heapOrder_[child]);
        slot = child;
    }
    PlaceAt(slot, node, order);
}
