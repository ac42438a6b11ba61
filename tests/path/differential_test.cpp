// AStarPlanner against the literal sorted open list on many random grids: the same nodes must be
// expanded in the same order, so the closed sets, the costs, the keys and the ways all agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "literal_planner.h"
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

// A search drawn from `rng`: grid size, walls and costs, weight, start and goal.
PlannerSettings RandomSearch(std::mt19937& rng, int maxSize, RtArray& map) {
    const double walls[] = {0, 0.1, 0.25, 0.4};
    const int costs[] = {1, 2, 3, 9, 1000};
    const float weights[] = {0.0f, 0.5f, 1.0f};
    PlannerSettings s;
    s.width = 1 + int(rng() % uint32_t(maxSize));
    s.height = 1 + int(rng() % uint32_t(maxSize));
    const double wallChance = walls[rng() % 4];
    const int maxCost = costs[rng() % 5];
    RandomWallMap(map, s.width, s.height, wallChance, maxCost, rng());
    s.map = map.data;
    s.weight = rng() % 4 == 3 ? float(rng() % 1001) / 1000.0f : weights[rng() % 3];
    s.startX = int(rng() % uint32_t(s.width));
    s.startY = int(rng() % uint32_t(s.height));
    s.goalX = int(rng() % uint32_t(s.width));
    s.goalY = int(rng() % uint32_t(s.height));
    return s;
}

class Differential : public testing::Test {
protected:
    void Compare(const PlannerSettings& settings) {
        AStarPlanner fast;
        Outcome ours = RunSearch(fast, settings);
        ASSERT_EQ(ours, RunSearch(literal, settings))
            << settings.width << "x" << settings.height << " from (" << settings.startX << "," << settings.startY
            << ") to (" << settings.goalX << "," << settings.goalY << ") weight " << settings.weight
            << (settings.diagonalMoves ? " diagonal" : "");
        if (!ours.way.empty()) ++waysFound;
    }
    LiteralAStarPlanner literal;
    int waysFound = 0;
};

TEST_F(Differential, WallsCostsAndDiagonalMovesExpandTheSameNodesInTheSameOrder) {
    std::mt19937 rng(20090101);
    RtArray map;
    for (int i = 0; i < 3000; ++i) ASSERT_NO_FATAL_FAILURE(Compare(RandomSearch(rng, 40, map))) << "case " << i;
    EXPECT_GT(waysFound, 1500);
    // The cases must reach the paths that differ most between the two lists.
    EXPECT_GT(literal.reopenings, 0);
    EXPECT_GT(literal.rekeyings, 0);
    for (int i = 0; i < 300; ++i) {
        PlannerSettings settings = RandomSearch(rng, 30, map);
        settings.diagonalMoves = true;
        ASSERT_NO_FATAL_FAILURE(Compare(settings));
    }
}

}  // namespace
