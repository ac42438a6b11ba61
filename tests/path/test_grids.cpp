#include "test_grids.h"

#include <random>
#include <utility>

double& MapCell(RtArray& map, int x, int y) { return ArrayElement2(map, x, y); }

void DrawMap(RtArray& map, const std::vector<std::string>& rows) {
    int height = int(rows.size());
    int width = height ? int(rows[0].size()) : 0;
    ArrayDim(map, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            char c = rows[y][x];
            MapCell(map, x, y) = c == '#' ? 0 : c == '.' ? 1 : c == 'H' ? 1e300 : c == 't' ? 1e-300 : c - '0';
        }
}

void RandomWallMap(RtArray& map, int width, int height, double wallChance, int maxCost, uint32_t seed) {
    std::mt19937 rng(seed);
    auto chance = [&rng] { return double(rng()) / 4294967296.0; };
    ArrayDim(map, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            MapCell(map, x, y) = chance() < wallChance ? 0 : 1 + int(rng() % uint32_t(maxCost));
    for (auto [x, y] : {std::pair{0, 0}, {width - 1, 0}, {0, height - 1}, {width - 1, height - 1}})
        if (MapCell(map, x, y) <= 0) MapCell(map, x, y) = 1;
}

void MazeMap(RtArray& map, int width, int height, uint32_t seed) {
    std::mt19937 rng(seed);
    ArrayDim(map, width, height);
    int columns = (width + 1) / 2, rows = (height + 1) / 2;
    std::vector<char> visited(size_t(columns) * rows, 0);
    std::vector<std::pair<int, int>> stack{{0, 0}};
    visited[0] = 1;
    MapCell(map, 0, 0) = 1;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    while (!stack.empty()) {
        auto [cx, cy] = stack.back();
        std::pair<int, int> choices[4];
        int count = 0;
        for (const auto& s : steps) {
            int nx = cx + s[0], ny = cy + s[1];
            if (nx >= 0 && ny >= 0 && nx < columns && ny < rows && !visited[size_t(ny) * columns + nx])
                choices[count++] = {nx, ny};
        }
        if (count == 0) {
            stack.pop_back();
            continue;
        }
        auto [nx, ny] = choices[rng() % uint32_t(count)];
        visited[size_t(ny) * columns + nx] = 1;
        MapCell(map, cx + nx, cy + ny) = 1;  // the wall between the two passages
        MapCell(map, 2 * nx, 2 * ny) = 1;
        stack.push_back({nx, ny});
    }
    // With an even size the last row and column are walls; open a way to the far corner.
    int lastX = 2 * (columns - 1), lastY = 2 * (rows - 1);
    for (int x = lastX; x < width; ++x) MapCell(map, x, lastY) = 1;
    for (int y = lastY; y < height; ++y) MapCell(map, width - 1, y) = 1;
}

std::vector<std::pair<int, int>> WayCells(RtArray& result) {
    std::vector<std::pair<int, int>> cells;
    if (result.dimensions != 2) return cells;
    for (int i = 0; i < result.size0; ++i)
        cells.push_back({int(ArrayElement2(result, i, 0)), int(ArrayElement2(result, i, 1))});
    return cells;
}

PlannerSettings GridSettings(const RtArray& map, int x1, int y1, int x2, int y2, float weight) {
    PlannerSettings settings;
    settings.startX = x1;
    settings.startY = y1;
    settings.goalX = x2;
    settings.goalY = y2;
    settings.weight = weight;
    settings.width = map.size0;
    settings.height = map.size1;
    settings.map = map.data;
    return settings;
}
