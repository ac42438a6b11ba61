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

// A search drawn from `rng`: grid size, walls or a maze, costs, weight, start and goal.
PlannerSettings RandomSearch(std::mt19937& rng, int maxSize, RtArray& map, bool maze = false) {
    const double walls[] = {0, 0.1, 0.25, 0.4};
    const int costs[] = {1, 2, 3, 9, 1000};
    const float weights[] = {0.0f, 0.5f, 1.0f};
    int width = 1 + int(rng() % uint32_t(maxSize)), height = 1 + int(rng() % uint32_t(maxSize));
    if (maze) MazeMap(map, width, height, rng());
    else RandomWallMap(map, width, height, walls[rng() % 4], costs[rng() % 5], rng());
    float weight = rng() % 4 == 3 ? float(rng() % 1001) / 1000.0f : weights[rng() % 3];
    int x1 = int(rng() % uint32_t(width)), y1 = int(rng() % uint32_t(height));
    return GridSettings(map, x1, y1, int(rng() % uint32_t(width)), int(rng() % uint32_t(height)), weight);
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

TEST_F(Differential, WallsMazesAndDiagonalMovesExpandTheSameNodesInTheSameOrder) {
    std::mt19937 rng(20090101);
    RtArray map;
    for (int i = 0; i < 3000; ++i) ASSERT_NO_FATAL_FAILURE(Compare(RandomSearch(rng, 40, map, i % 7 == 0))) << "case " << i;
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
