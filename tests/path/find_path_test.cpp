// FindPath on maps drawn by hand: the ways it writes and the requests it refuses; and AStarPlanner
// against the literal sorted open list on many random grids: the same nodes must be expanded in
// the same order, so the closed sets, the costs, the keys and the ways all agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <tuple>

#include "literal_planner.h"
#include "path/find_path.h"
#include "test_grids.h"

namespace {

using Way = std::vector<std::pair<int, int>>;
const double kNaN = std::nan("");

// Maps drawn by hand, and the ways FindPath must write for them (cells, or only their number).
TEST(FindPath, WritesTheWayTheWeightAndTheCostsChoose) {
    const std::vector<std::string> dearRow = {"1999991", "1111111", "1111111"};
    const Way round = {{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}, {6, 1}, {6, 0}};
    struct Case {
        std::vector<std::string> map;
        double weight, x1, y1, x2, y2;
        Way way;
        const char* why;
    } cases[] = {
        {{"111"}, 0.5, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}, "a row"},
        {{"111"}, 0.5, -0.7, 0.9, 2.99, 0, {{0, 0}, {1, 0}, {2, 0}}, "coordinates truncate"},
        {{"#..", "..."}, 0.5, 0, 0, 2, 0, {{0, 0}, {1, 0}, {2, 0}}, "a blocked start is still left"},
        // From (0, 0) the right neighbour is opened before the lower one; going back, up before left.
        {{"..", ".."}, 0.5, 0, 0, 1, 1, {{0, 0}, {1, 0}, {1, 1}}, "ties: the way opened first"},
        {{"..", ".."}, 0.0, 0, 0, 1, 1, {{0, 0}, {1, 0}, {1, 1}}, "ties at weight 0"},
        {{"..", ".."}, 0.5, 1, 1, 0, 0, {{1, 1}, {1, 0}, {0, 0}}, "ties going back"},
        {dearRow, 1.0, 0, 0, 6, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}, "greedy ignores cost"},
        {dearRow, 5.0, 0, 0, 6, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}}, "weight above 1 is 1"},
        {dearRow, 0.0, 0, 0, 6, 0, round, "uniform cost goes round"},
        {dearRow, -2.0, 0, 0, 6, 0, round, "weight below 0 is 0"},
        {dearRow, kNaN, 0, 0, 6, 0, round, "a weight that is no number is 0"},
        {{".H.", ".#.", "..."}, 0.0, 0, 0, 2, 2, {{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}, "1e300 is dearest"},
        {{"..#", "#..", "..."}, 0.5, 0, 0, 2, 2, {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}, "round a wall"},
    };
    for (const Case& c : cases) {
        RtArray map, result;
        DrawMap(map, c.map);
        EXPECT_EQ(FindPath(map, result, c.weight, c.x1, c.y1, c.x2, c.y2), c.way.size()) << c.why;
        EXPECT_EQ(WayCells(result), c.way) << c.why;
        // The way may overwrite its own map.
        EXPECT_EQ(FindPath(map, map, c.weight, c.x1, c.y1, c.x2, c.y2), c.way.size()) << c.why;
        EXPECT_EQ(WayCells(map), c.way) << c.why;
    }
    RtArray tiny, result;
    DrawMap(tiny, {"ttt", "ttt"});
    EXPECT_EQ(FindPath(tiny, result, 0.0, 0, 0, 2, 1), 4) << "values below float range stay passable";
}

TEST(FindPath, RequestsThatMakeNoSenseLeaveTheResultAloneAndNoWayEmptiesIt) {
    RtArray map, barren, row, never, enclosed, beside, result;
    DrawMap(map, {"...", "..."});
    DrawMap(barren, {"###", "###"});
    MapCell(barren, 1, 1) = -4;
    ArrayDim(row, 5);
    row.at(0) = row.at(1) = 1;
    DrawMap(enclosed, {"....#.", "...#1#", "....#."});
    DrawMap(beside, {".#."});  // a blocked goal is never entered, even right beside the start
    const struct { RtArray* map; double x1, y1, x2, y2; bool emptied; const char* why; } cases[] = {
        {&map, 1, 1, 1, 1, false, "start equal to goal"},      {&map, 0, 0, 3, 0, false, "goal right of the map"},
        {&map, 0, -1, 2, 1, false, "start above the map"},     {&map, 0, 0, 2, 2, false, "goal below the map"},
        {&map, kNaN, 0, 2, 1, false, "a coordinate not a number"}, {&map, 0, 0, 1e12, 1, false, "beyond 32 bits"},
        {&barren, 0, 0, 2, 1, false, "no passable cell"},      {&row, 0, 0, 1, 0, false, "a map of one dimension"},
        {&never, 0, 0, 1, 0, false, "a map never dimensioned"}, {&enclosed, 0, 0, 4, 1, true, "an enclosed goal"},
        {&beside, 0, 0, 1, 0, true, "a blocked goal"}};
    for (const auto& c : cases) {
        ArrayDim(result, 3);
        result.at(2) = 9;
        EXPECT_EQ(FindPath(*c.map, result, 0.5, c.x1, c.y1, c.x2, c.y2), 0) << c.why;
        EXPECT_EQ(result.size0, c.emptied ? 0 : 3) << c.why;
        EXPECT_EQ(c.emptied ? 9 : result.at(2), 9) << c.why;
    }
}

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
