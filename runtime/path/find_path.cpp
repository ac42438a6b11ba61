#include "path/find_path.h"

#include <cstdint>

namespace {

// Truncates towards zero; a coordinate no cell can have (NaN, beyond 32 bits) is refused.
bool TruncateCoordinate(double value, int32_t& cell) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return false;
    cell = int32_t(value);
    return true;
}

float ClampWeight(double weight) {
    if (!(weight > 0)) return 0.0f;
    return weight >= 1 ? 1.0f : float(weight);
}

size_t WayLength(const Node* goal, size_t limit) {
    size_t length = 0;
    for (const Node* node = goal; node && length <= limit; node = node->parent) ++length;
    return length;
}

void WriteWay(const Node* goal, size_t length, RtArray& result) {
    if (length == 0) {
        ArrayDim(result, 0);
        return;
    }
    ArrayDim(result, double(length), 2);
    const Node* node = goal;
    for (size_t i = length; i-- > 0; node = node->parent) {
        ArrayElement2(result, double(i), 0) = node->x;
        ArrayElement2(result, double(i), 1) = node->y;
    }
}

}  // namespace

double FindPathWith(Planner& planner, const RtArray& map, RtArray& result, double weight, double x1, double y1,
                    double x2, double y2) {
    PlannerSettings settings;
    if (!TruncateCoordinate(x1, settings.startX) || !TruncateCoordinate(y1, settings.startY) ||
        !TruncateCoordinate(x2, settings.goalX) || !TruncateCoordinate(y2, settings.goalY))
        return 0;
    settings.diagonalCost = true;
    settings.diagonalMoves = false;
    settings.poolSize = 0;
    settings.openCapacity = 0;
    settings.hashExponent = 8;
    settings.weight = ClampWeight(weight);
    settings.width = map.size0;
    settings.height = map.size1;
    settings.map = map.data;
    if (!planner.Setup(settings)) return 0;

    planner.Begin();
    planner.Search();
    // Each cell has one node, so a chain longer than the pool could only be a broken one.
    size_t length = WayLength(planner.GoalNode(), planner.NodeCount());
    if (length > planner.NodeCount()) length = 0;
    WriteWay(planner.GoalNode(), length, result);
    planner.Clear();
    return ArrayBounds(result, 0);
}

double FindPath(const RtArray& map, RtArray& result, double weight, double x1, double y1, double x2, double y2) {
    AStarPlanner planner;
    return FindPathWith(planner, map, result, weight, x1, y1, x2, y2);
}
