#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

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

TEST(FindPath, WaysOnOpenGroundAndThroughAMazeTakeOnlyStepsToPassableNeighbours) {
    RtArray map, result;
    for (int maze : {0, 1}) {
        maze ? MazeMap(map, 32, 24, 7) : OpenMap(map, 12, 9);
        const int x2 = maze ? 31 : 10, y2 = maze ? 23 : 2, y1 = maze ? 0 : 7;
        const double length = FindPath(map, result, maze ? 0.5 : 1.0, 0, y1, x2, y2);
        const Way way = WayCells(result);
        ASSERT_EQ(length, way.size());
        EXPECT_TRUE(maze || way.size() == 1u + 10 + 5) << "weight 1 heads straight for the goal";
        ASSERT_FALSE(way.empty());
        EXPECT_EQ(way.front(), std::make_pair(0, y1));
        EXPECT_EQ(way.back(), std::make_pair(x2, y2));
        for (size_t i = 1; i < way.size(); ++i) {
            EXPECT_EQ(std::abs(way[i].first - way[i - 1].first) + std::abs(way[i].second - way[i - 1].second), 1);
            EXPECT_GT(MapCell(map, way[i].first, way[i].second), 0) << "step " << i;
        }
    }
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

// Sets up and runs a whole search; the goal node, or null.
const Node* Solve(AStarPlanner& planner, const PlannerSettings& settings) {
    EXPECT_TRUE(planner.Setup(settings));
    planner.Begin();
    planner.Search();
    EXPECT_TRUE(planner.Done());
    return planner.GoalNode();
}

TEST(AStarPlanner, GivesEveryNodeBackStopsWhenThePoolRunsOutAndPricesDiagonalSteps) {
    RtArray map;
    RandomWallMap(map, 20, 20, 0.3, 5, 3);
    AStarPlanner planner, starved;
    EXPECT_NE(Solve(planner, GridSettings(map, 0, 0, 19, 19)), nullptr);
    planner.Clear();
    EXPECT_EQ(planner.OpenCount(), 0u);
    EXPECT_EQ(planner.ClosedSet()->CountNodes(), 0u);
    PlannerSettings settings = GridSettings(map, 0, 0, 19, 19);
    settings.poolSize = 4;
    EXPECT_EQ(Solve(starved, settings), nullptr);

    OpenMap(map, 5, 5);
    settings = GridSettings(map, 0, 0, 4, 4, 0);
    settings.diagonalMoves = true;
    for (bool dearer : {true, false}) {
        settings.diagonalCost = dearer;
        AStarPlanner diagonal;
        const Node* goal = Solve(diagonal, settings);
        ASSERT_NE(goal, nullptr);
        EXPECT_FLOAT_EQ(goal->cost, dearer ? 8 * 1.4142137f : 8.0f) << "four diagonal steps into cells of cost 2";
    }
}

}  // namespace
