#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <tuple>

#include "path/find_path.h"
#include "test_grids.h"

namespace {

using Way = std::vector<std::pair<int, int>>;
const double kNaN = std::nan("");

Way Find(RtArray& map, double weight, double x1, double y1, double x2, double y2) {
    RtArray result;
    double n = FindPath(map, result, weight, x1, y1, x2, y2);
    EXPECT_EQ(n, WayCells(result).size());
    return WayCells(result);
}

// A way from `start` to `goal` whose every step goes to a passable neighbour.
void ExpectWay(RtArray& map, const Way& way, std::pair<int, int> start, std::pair<int, int> goal) {
    ASSERT_FALSE(way.empty());
    EXPECT_EQ(way.front(), start);
    EXPECT_EQ(way.back(), goal);
    for (size_t i = 1; i < way.size(); ++i) {
        auto [x, y] = way[i];
        EXPECT_EQ(std::abs(x - way[i - 1].first) + std::abs(y - way[i - 1].second), 1) << "step " << i;
        EXPECT_GT(MapCell(map, x, y), 0) << "step " << i;
    }
}

TEST(FindPath, WalksARowIntoAnArrayOfNTimesTwoAndTruncatesCoordinates) {
    RtArray map, result;
    DrawMap(map, {"111"});
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 2, 0), 3);
    EXPECT_EQ(result.dimensions, 2);
    EXPECT_EQ(result.size1, 2);
    EXPECT_EQ(WayCells(result), (Way{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(Find(map, 0.5, -0.7, 0.9, 2.99, 0), (Way{{0, 0}, {1, 0}, {2, 0}}));
    DrawMap(map, {"#..", "..."});
    EXPECT_EQ(Find(map, 0.5, 0, 0, 2, 0), (Way{{0, 0}, {1, 0}, {2, 0}})) << "a blocked start is still left";
}

TEST(FindPath, RequestsThatMakeNoSenseLeaveTheResultAlone) {
    RtArray map, barren, row, never, result;
    DrawMap(map, {"...", "..."});
    DrawMap(barren, {"###", "###"});
    MapCell(barren, 1, 1) = -4;
    ArrayDim(row, 5);
    row.at(0) = row.at(1) = 1;
    ArrayDim(result, 3);
    result.at(2) = 9;
    const struct { RtArray* map; double x1, y1, x2, y2; const char* why; } cases[] = {
        {&map, 1, 1, 1, 1, "start equal to goal"},      {&map, 0, 0, 3, 0, "goal right of the map"},
        {&map, 0, -1, 2, 1, "start above the map"},     {&map, 0, 0, 2, 2, "goal below the map"},
        {&map, kNaN, 0, 2, 1, "a coordinate not a number"}, {&map, 0, 0, 1e12, 1, "a coordinate beyond 32 bits"},
        {&barren, 0, 0, 2, 1, "no passable cell"},      {&row, 0, 0, 1, 0, "a map of one dimension"},
        {&never, 0, 0, 1, 0, "a map never dimensioned"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindPath(*c.map, result, 0.5, c.x1, c.y1, c.x2, c.y2), 0) << c.why;
        EXPECT_EQ(result.size0, 3) << c.why;
        EXPECT_EQ(result.at(2), 9) << c.why;
    }
}

TEST(FindPath, AnUnreachableGoalLeavesAnEmptyResult) {
    RtArray enclosed, beside, result;
    DrawMap(enclosed, {"....#.", "...#1#", "....#."});
    DrawMap(beside, {".#."});  // a blocked goal is never entered, even right beside the start
    for (auto [map, x2, y2] : {std::tuple{&enclosed, 4, 1}, std::tuple{&beside, 1, 0}}) {
        ArrayDim(result, 3);
        EXPECT_EQ(FindPath(*map, result, 0.5, 0, 0, x2, y2), 0);
        EXPECT_EQ(result.dimensions, 0);
        EXPECT_EQ(result.size0, 0);
    }
}

TEST(FindPath, OfTwoEqualWaysTakesTheOneOpenedFirst) {
    // From (0, 0) the right neighbour is opened before the lower one; going back, up before left.
    RtArray map;
    DrawMap(map, {"..", ".."});
    EXPECT_EQ(Find(map, 0.5, 0, 0, 1, 1), (Way{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(Find(map, 0.0, 0, 0, 1, 1), (Way{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(Find(map, 0.5, 1, 1, 0, 0), (Way{{1, 1}, {1, 0}, {0, 0}}));
}

TEST(FindPath, WeightOneHeadsStraightForTheGoalAndAMazeIsCrossed) {
    RtArray map;
    OpenMap(map, 12, 9);
    Way way = Find(map, 1.0, 1, 7, 10, 2);
    EXPECT_EQ(way.size(), 1u + 9 + 5);
    ExpectWay(map, way, {1, 7}, {10, 2});
    MazeMap(map, 32, 24, 7);
    way = Find(map, 0.5, 0, 0, 31, 23);
    ExpectWay(map, way, {0, 0}, {31, 23});
}

TEST(FindPath, WeightTradesCheapnessForDirectnessAndIsClamped) {
    RtArray map;
    DrawMap(map, {"1999991", "1111111", "1111111"});  // the straight row is dear
    Way greedy = Find(map, 1.0, 0, 0, 6, 0);
    EXPECT_EQ(greedy.size(), 7u) << "the greedy search ignores cost";
    Way cheapest = Find(map, 0.0, 0, 0, 6, 0);
    EXPECT_EQ(cheapest.size(), 9u) << "the uniform-cost search goes round";
    for (const auto& [x, y] : cheapest) EXPECT_TRUE(x == 0 || x == 6 || y == 1) << x << "," << y;
    EXPECT_EQ(Find(map, 5.0, 0, 0, 6, 0), greedy);
    EXPECT_EQ(Find(map, -2.0, 0, 0, 6, 0), cheapest);
    EXPECT_EQ(Find(map, kNaN, 0, 0, 6, 0), cheapest) << "a weight that is no number counts as 0";
}

TEST(FindPath, CostsCountRelativeToTheDearestCellBeyondFloatRange) {
    RtArray map;
    DrawMap(map, {"...", ".#.", "..."});
    MapCell(map, 1, 0) = 1e300;  // still the dearest cell, and passable
    EXPECT_EQ(Find(map, 0.0, 0, 0, 2, 2), (Way{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}));
    DrawMap(map, {"...", "..."});
    for (int x = 0; x < 3; ++x) MapCell(map, x, 0) = MapCell(map, x, 1) = 1e-300;
    EXPECT_EQ(Find(map, 0.0, 0, 0, 2, 1).size(), 4u) << "values below float range stay passable";
}

TEST(FindPath, MayWriteTheWayOverItsOwnMap) {
    RtArray map;
    DrawMap(map, {"..#", "#..", "..."});
    EXPECT_EQ(FindPath(map, map, 0.5, 0, 0, 2, 2), 5);
    EXPECT_EQ(WayCells(map), (Way{{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}));
}

// Sets up and runs a whole search; the goal node, or null.
const Node* Solve(AStarPlanner& planner, const PlannerSettings& settings) {
    EXPECT_TRUE(planner.Setup(settings));
    planner.Begin();
    EXPECT_FALSE(planner.Done());
    planner.Search();
    EXPECT_TRUE(planner.Done());
    return planner.GoalNode();
}

TEST(AStarPlanner, GivesEveryNodeBackAfterASearchAndStopsWhenThePoolRunsOut) {
    RtArray map;
    RandomWallMap(map, 20, 20, 0.3, 5, 3);
    AStarPlanner planner, starved;
    EXPECT_NE(Solve(planner, GridSettings(map, 0, 0, 19, 19)), nullptr);
    planner.Clear();
    EXPECT_EQ(planner.OpenCount(), 0u);
    EXPECT_EQ(planner.ClosedSet()->CountNodes(), 0u);
    EXPECT_EQ(planner.GoalNode(), nullptr);
    PlannerSettings settings = GridSettings(map, 0, 0, 19, 19);
    settings.poolSize = 4;
    EXPECT_EQ(Solve(starved, settings), nullptr);
}

TEST(AStarPlanner, DiagonalStepsCostMoreWhenAsked) {
    RtArray map;
    OpenMap(map, 5, 5);
    PlannerSettings settings = GridSettings(map, 0, 0, 4, 4, 0);
    settings.diagonalMoves = true;
    for (bool dearer : {true, false}) {
        settings.diagonalCost = dearer;
        AStarPlanner planner;
        const Node* goal = Solve(planner, settings);
        ASSERT_NE(goal, nullptr);
        EXPECT_FLOAT_EQ(goal->cost, dearer ? 8 * 1.4142137f : 8.0f) << "four diagonal steps into cells of cost 2";
    }
}

}  // namespace
