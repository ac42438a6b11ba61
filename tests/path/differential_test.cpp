// AStarPlanner against the literal sorted open list on many random grids: the same nodes must be
// expanded in the same order, so the closed sets, the costs, the keys and the ways all agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "literal_planner.h"
#include "path/find_path.h"
#include "test_grids.h"

namespace {

struct Outcome {
    bool setUp = false;
    // x, y, cost, key, parent x, parent y of every closed node, in cell order.
    std::vector<std::tuple<int, int, float, float, int, int>> closed;
    size_t openCount = 0;
    std::vector<std::pair<int, int>> way;
    bool operator==(const Outcome& o) const {
        return std::tie(setUp, closed, openCount, way) == std::tie(o.setUp, o.closed, o.openCount, o.way);
    }
};

void PrintTo(const Outcome& o, std::ostream* out) {
    *out << (o.setUp ? "" : "not set up, ") << o.closed.size() << " closed, " << o.openCount << " open, way of "
         << o.way.size() << " cells";
}

Outcome RunSearch(Planner& planner, const PlannerSettings& settings) {
    Outcome outcome;
    if (!(outcome.setUp = planner.Setup(settings))) return outcome;
    planner.Begin();
    planner.Search();
    planner.ClosedSet()->ForEach([&](const Node& n) {
        outcome.closed.emplace_back(n.x, n.y, n.cost, n.key, n.parent ? n.parent->x : -1, n.parent ? n.parent->y : -1);
    });
    std::sort(outcome.closed.begin(), outcome.closed.end());
    outcome.openCount = planner.OpenCount();
    for (const Node* n = planner.GoalNode(); n; n = n->parent) outcome.way.insert(outcome.way.begin(), {n->x, n->y});
    planner.Clear();
    return outcome;
}

struct Case {
    int width, height;
    double wallChance;
    int maxCost;
    float weight;
    int x1, y1, x2, y2;
    uint32_t seed;
};

std::ostream& operator<<(std::ostream& out, const Case& c) {
    return out << c.width << "x" << c.height << " walls " << c.wallChance << " costs 1.." << c.maxCost << " weight "
               << c.weight << " from (" << c.x1 << "," << c.y1 << ") to (" << c.x2 << "," << c.y2 << ") seed "
               << c.seed;
}

Case RandomCase(std::mt19937& rng, int maxSize) {
    const double walls[] = {0, 0.1, 0.25, 0.4};
    const int costs[] = {1, 2, 3, 9, 1000};
    const float weights[] = {0.0f, 0.5f, 1.0f};
    Case c;
    c.width = 1 + int(rng() % uint32_t(maxSize));
    c.height = 1 + int(rng() % uint32_t(maxSize));
    c.wallChance = walls[rng() % 4];
    c.maxCost = costs[rng() % 5];
    c.weight = rng() % 4 == 3 ? float(rng() % 1001) / 1000.0f : weights[rng() % 3];
    c.x1 = int(rng() % uint32_t(c.width));
    c.y1 = int(rng() % uint32_t(c.height));
    c.x2 = int(rng() % uint32_t(c.width));
    c.y2 = int(rng() % uint32_t(c.height));
    c.seed = rng();
    return c;
}

class Differential : public testing::Test {
protected:
    void Compare(const Case& c, bool diagonalMoves = false) {
        RtArray map;
        RandomWallMap(map, c.width, c.height, c.wallChance, c.maxCost, c.seed);
        PlannerSettings settings = GridSettings(map, c.x1, c.y1, c.x2, c.y2, c.weight);
        settings.diagonalMoves = diagonalMoves;
        AStarPlanner fast;
        Outcome ours = RunSearch(fast, settings);
        ASSERT_EQ(ours, RunSearch(literal, settings)) << c << (diagonalMoves ? " diagonal" : "");
        if (!ours.way.empty()) ++waysFound;
    }
    LiteralAStarPlanner literal;
    int waysFound = 0;
};

TEST_F(Differential, SmallGridsAndDiagonalMovesExpandTheSameNodesInTheSameOrder) {
    std::mt19937 rng(20090101);
    for (int i = 0; i < 3000; ++i) ASSERT_NO_FATAL_FAILURE(Compare(RandomCase(rng, 40)));
    EXPECT_GT(waysFound, 1500);
    // The cases must reach the paths that differ most between the two lists.
    EXPECT_GT(literal.reopenings, 0);
    EXPECT_GT(literal.rekeyings, 0);
    for (int i = 0; i < 300; ++i) ASSERT_NO_FATAL_FAILURE(Compare(RandomCase(rng, 30), true));
}

TEST_F(Differential, LargerGridsCornerToCornerAgree) {
    std::mt19937 rng(77);
    for (float weight : {0.0f, 0.5f, 1.0f, 0.8f})
        for (double walls : {0.0, 0.3})
            for (int maxCost : {1, 9})
                ASSERT_NO_FATAL_FAILURE(Compare({120, 90, walls, maxCost, weight, 0, 0, 119, 89, uint32_t(rng())}));
}

TEST(DifferentialFindPath, ResultArraysAreIdenticalOnWallsAndMazes) {
    std::mt19937 rng(9);
    for (int i = 0; i < 300; ++i) {
        Case c = RandomCase(rng, 25);
        RtArray map, ours, reference;
        if (i % 3 == 0) MazeMap(map, c.width, c.height, c.seed);
        else RandomWallMap(map, c.width, c.height, c.wallChance, c.maxCost, c.seed);
        ArrayDim(ours, 1);
        ArrayDim(reference, 1);
        ASSERT_EQ(FindPath(map, ours, c.weight, c.x1, c.y1, c.x2, c.y2),
                  LiteralFindPath(map, reference, c.weight, c.x1, c.y1, c.x2, c.y2)) << c;
        ASSERT_EQ(ours.dimensions, reference.dimensions) << c;
        ASSERT_EQ(WayCells(ours), WayCells(reference)) << c;
    }
}

}  // namespace
