#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "path/find_path.h"
#include "test_grids.h"

namespace {

using Way = std::vector<std::pair<int, int>>;

// A result array that already holds something, to see whether FindPath touched it.
void FillWithMarker(RtArray& result) {
    ArrayDim(result, 3);
    result.at(0) = 7;
    result.at(1) = 8;
    result.at(2) = 9;
}

void ExpectMarkerKept(RtArray& result) {
    EXPECT_EQ(result.dimensions, 1);
    EXPECT_EQ(result.size0, 3);
    EXPECT_EQ(result.at(0), 7);
    EXPECT_EQ(result.at(2), 9);
}

Way Find(RtArray& map, double weight, int x1, int y1, int x2, int y2, double* returned = nullptr) {
    RtArray result;
    double n = FindPath(map, result, weight, x1, y1, x2, y2);
    if (returned) *returned = n;
    return WayCells(result);
}

TEST(FindPath, WalksAThreeCellRowFromStartToGoal) {
    RtArray map, result;
    DrawMap(map, {"111"});
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 2, 0), 3);
    EXPECT_EQ(result.dimensions, 2);
    EXPECT_EQ(result.size0, 3);
    EXPECT_EQ(result.size1, 2);
    EXPECT_EQ(WayCells(result), (Way{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(FindPath, RequestsThatMakeNoSenseLeaveTheResultAlone) {
    RtArray map, result;
    DrawMap(map, {"...", "..."});
    FillWithMarker(result);
    EXPECT_EQ(FindPath(map, result, 0.5, 1, 1, 1, 1), 0) << "start equal to goal";
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 3, 0), 0) << "goal right of the map";
    EXPECT_EQ(FindPath(map, result, 0.5, 0, -1, 2, 1), 0) << "start above the map";
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 2, 2), 0) << "goal below the map";
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(FindPath(map, result, 0.5, nan, 0, 2, 1), 0) << "a coordinate that is no number";
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 1e12, 1), 0) << "a coordinate beyond 32 bits";
    ExpectMarkerKept(result);

    RtArray barren;
    DrawMap(barren, {"###", "###"});
    MapCell(barren, 1, 1) = -4;
    EXPECT_EQ(FindPath(barren, result, 0.5, 0, 0, 2, 1), 0) << "no passable cell";
    RtArray row, never;
    ArrayDim(row, 5);
    row.at(0) = row.at(1) = 1;
    EXPECT_EQ(FindPath(row, result, 0.5, 0, 0, 1, 0), 0) << "a map of one dimension has no rows";
    EXPECT_EQ(FindPath(never, result, 0.5, 0, 0, 1, 0), 0) << "a map never dimensioned";
    ExpectMarkerKept(result);
}

TEST(FindPath, AnUnreachableGoalLeavesAnEmptyResult) {
    RtArray map, result;
    DrawMap(map, {"....#.",
                  "...#1#",
                  "....#."});
    FillWithMarker(result);
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 4, 1), 0);
    EXPECT_EQ(result.dimensions, 0);
    EXPECT_EQ(result.size0, 0);

    // A blocked goal is never entered, even right beside the start.
    DrawMap(map, {".#."});
    FillWithMarker(result);
    EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 1, 0), 0);
    EXPECT_EQ(result.size0, 0);
}

TEST(FindPath, ABlockedStartIsStillLeft) {
    RtArray map;
    DrawMap(map, {"#..", "..."});
    double n = 0;
    EXPECT_EQ(Find(map, 0.5, 0, 0, 2, 0, &n), (Way{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_EQ(n, 3);
}

TEST(FindPath, OfTwoEqualWaysTakesTheOneOpenedFirst) {
    // From (0, 0) the right neighbour is opened before the lower one, so the way turns right first.
    RtArray map;
    DrawMap(map, {"..", ".."});
    EXPECT_EQ(Find(map, 0.5, 0, 0, 1, 1), (Way{{0, 0}, {1, 0}, {1, 1}}));
    EXPECT_EQ(Find(map, 0.0, 0, 0, 1, 1), (Way{{0, 0}, {1, 0}, {1, 1}}));
    // Going back, up is opened before left.
    EXPECT_EQ(Find(map, 0.5, 1, 1, 0, 0), (Way{{1, 1}, {1, 0}, {0, 0}}));
}

TEST(FindPath, WeightOneHeadsStraightForTheGoal) {
    RtArray map;
    OpenMap(map, 12, 9);
    Way way = Find(map, 1.0, 1, 7, 10, 2);
    ASSERT_EQ(way.size(), 1u + 9 + 5);
    for (size_t i = 1; i < way.size(); ++i) {
        int before = std::abs(10 - way[i - 1].first) + std::abs(2 - way[i - 1].second);
        int after = std::abs(10 - way[i].first) + std::abs(2 - way[i].second);
        EXPECT_EQ(after, before - 1) << "step " << i;
    }
}

TEST(FindPath, WeightTradesCheapnessForDirectness) {
    // The straight row is dear; a detour through the cheap rows costs less.
    RtArray map;
    DrawMap(map, {"9999999",
                  "1111111",
                  "1111111"});
    MapCell(map, 0, 0) = 1;
    MapCell(map, 6, 0) = 1;
    Way greedy = Find(map, 1.0, 0, 0, 6, 0);
    EXPECT_EQ(greedy.size(), 7u) << "the greedy search ignores cost";
    Way cheapest = Find(map, 0.0, 0, 0, 6, 0);
    EXPECT_EQ(cheapest.size(), 9u) << "the uniform-cost search goes round";
    for (const auto& [x, y] : cheapest) EXPECT_TRUE(x == 0 || x == 6 || y == 1) << x << "," << y;
    // Weights outside 0..1 count as the nearest end, and one that is no number as 0.
    EXPECT_EQ(Find(map, 5.0, 0, 0, 6, 0), greedy);
    EXPECT_EQ(Find(map, -2.0, 0, 0, 6, 0), cheapest);
    EXPECT_EQ(Find(map, std::numeric_limits<double>::quiet_NaN(), 0, 0, 6, 0), cheapest);
}

TEST(FindPath, CostsCountRelativeToTheDearestCell) {
    // Only ratios matter, however large or small the map's values are.
    RtArray map;
    DrawMap(map, {"...", ".#.", "..."});
    MapCell(map, 1, 0) = 1e300;
    EXPECT_EQ(Find(map, 0.0, 0, 0, 2, 2), (Way{{0, 0}, {0, 1}, {0, 2}, {1, 2}, {2, 2}}))
        << "a value beyond float range is still the dearest cell, and passable";
    DrawMap(map, {"...", "..."});
    for (int x = 0; x < 3; ++x) MapCell(map, x, 0) = MapCell(map, x, 1) = 1e-300;
    EXPECT_EQ(Find(map, 0.0, 0, 0, 2, 1).size(), 4u) << "values below float range stay passable";
}

TEST(FindPath, TruncatesCoordinatesTowardsZero) {
    RtArray map, result;
    DrawMap(map, {"...."});
    EXPECT_EQ(FindPath(map, result, 0.5, -0.7, 0.9, 3.99, 0), 4);
    EXPECT_EQ(WayCells(result).front(), (std::pair{0, 0}));
    EXPECT_EQ(WayCells(result).back(), (std::pair{3, 0}));
}

TEST(FindPath, MayWriteTheWayOverItsOwnMap) {
    RtArray map;
    DrawMap(map, {"..#", "#..", "..."});
    EXPECT_EQ(FindPath(map, map, 0.5, 0, 0, 2, 2), 5);
    EXPECT_EQ(WayCells(map), (Way{{0, 0}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}));
}

TEST(FindPath, FindsTheWayThroughAMaze) {
    RtArray map;
    MazeMap(map, 32, 24, 7);
    Way way = Find(map, 0.5, 0, 0, 31, 23);
    ASSERT_GE(way.size(), 31u + 23 + 1);
    for (size_t i = 1; i < way.size(); ++i) {
        auto [x, y] = way[i];
        EXPECT_EQ(std::abs(x - way[i - 1].first) + std::abs(y - way[i - 1].second), 1);
        EXPECT_GT(MapCell(map, x, y), 0);
    }
    EXPECT_EQ(way.back(), (std::pair{31, 23}));
}

TEST(AStarPlanner, GivesEveryNodeBackAfterASearch) {
    RtArray map;
    RandomWallMap(map, 20, 20, 0.3, 5, 3);
    PlannerSettings settings;
    settings.goalX = settings.goalY = 19;
    settings.width = settings.height = 20;
    settings.map = map.data;
    AStarPlanner planner;
    ASSERT_TRUE(planner.Setup(settings));
    EXPECT_TRUE(planner.Done());
    planner.Begin();
    EXPECT_FALSE(planner.Done());
    planner.Search();
    EXPECT_TRUE(planner.Done());
    EXPECT_EQ(planner.SearchCount(), 1);
    EXPECT_GT(planner.ClosedSet()->CountNodes(), 0u);
    planner.Clear();
    EXPECT_EQ(planner.OpenCount(), 0u);
    EXPECT_EQ(planner.ClosedSet()->CountNodes(), 0u);
    EXPECT_EQ(planner.GoalNode(), nullptr);
}

TEST(AStarPlanner, DiagonalStepsCostMoreWhenAsked) {
    RtArray map;
    OpenMap(map, 5, 5);
    PlannerSettings settings;
    settings.goalX = settings.goalY = 4;
    settings.width = settings.height = 5;
    settings.map = map.data;
    settings.diagonalMoves = true;
    settings.weight = 0;
    for (bool dearer : {true, false}) {
        settings.diagonalCost = dearer;
        AStarPlanner planner;
        ASSERT_TRUE(planner.Setup(settings));
        planner.Begin();
        planner.Search();
        ASSERT_NE(planner.GoalNode(), nullptr);
        // Every cell costs 2 to enter; four diagonal steps.
        EXPECT_FLOAT_EQ(planner.GoalNode()->cost, dearer ? 8 * 1.4142137f : 8.0f);
    }
}

TEST(AStarPlanner, APoolTooSmallEndsTheSearchWithoutAWay) {
    RtArray map;
    OpenMap(map, 6, 6);
    PlannerSettings settings;
    settings.goalX = settings.goalY = 5;
    settings.width = settings.height = 6;
    settings.map = map.data;
    settings.poolSize = 4;
    AStarPlanner planner;
    ASSERT_TRUE(planner.Setup(settings));
    planner.Begin();
    planner.Search();
    EXPECT_TRUE(planner.Done());
    EXPECT_EQ(planner.GoalNode(), nullptr);
}

}  // namespace
