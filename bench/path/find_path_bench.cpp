// FindPath corner to corner on open maps, maps with random walls and mazes, ours against the
// literal sorted open list. The literal list is quadratic: at 1024 x 1024 it takes from a quarter
// of a minute to several minutes per map, so it runs there only once per map and only when
// BENCH_PATH_LITERAL_1024=1 is set.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "literal_planner.h"
#include "path/find_path.h"
#include "test_grids.h"

namespace {

enum MapKind { Open, Walls, Maze };
const char* const kMapNames[] = {"open", "walls", "maze"};

using FindPathFn = double (*)(const RtArray&, RtArray&, double, double, double, double, double);

double LiteralFindPath(const RtArray& map, RtArray& result, double weight, double x1, double y1, double x2, double y2) {
    LiteralAStarPlanner planner;
    return FindPathWith(planner, map, result, weight, x1, y1, x2, y2);
}

// A perfect maze between passages on even cells; the corners (0, 0) and (width-1, height-1)
// are passages joined to it.
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

// Walls cover a quarter of the cells; the first seed that leaves the corners joined is taken.
void MakeMap(RtArray& map, MapKind kind, int size) {
    if (kind == Open) return RandomWallMap(map, size, size, 0, 1, 0);
    if (kind == Maze) return MazeMap(map, size, size, 2009);
    RtArray way;
    for (uint32_t seed = 2009;; ++seed) {
        RandomWallMap(map, size, size, 0.25, 9, seed);
        if (FindPath(map, way, 0.5, 0, 0, size - 1, size - 1) > 0) return;
    }
}

void Run(benchmark::State& state, FindPathFn find, double weight) {
    int size = int(state.range(1));
    RtArray map, result;
    MakeMap(map, MapKind(state.range(0)), size);
    double cells = 0;
    for (auto _ : state) {
        cells = find(map, result, weight, 0, 0, size - 1, size - 1);
        benchmark::DoNotOptimize(cells);
    }
    state.counters["way_cells"] = cells;
    state.SetLabel(kMapNames[state.range(0)]);
}

void AllMaps(benchmark::internal::Benchmark* b, int size) {
    for (int kind : {Open, Walls, Maze}) b->Args({kind, size});
    b->Unit(benchmark::kMillisecond);
}

void Register(const char* name, FindPathFn find, double weight, int size, bool once = false) {
    auto* b = benchmark::RegisterBenchmark(name, [=](benchmark::State& s) { Run(s, find, weight); });
    AllMaps(b, size);
    if (once) b->Iterations(1);
}

}  // namespace

int main(int argc, char** argv) {
    for (int size : {128, 512, 1024}) Register("Ours/weight0.5", FindPath, 0.5, size);
    for (int size : {128, 512}) Register("Literal/weight0.5", LiteralFindPath, 0.5, size);
    const char* wantLiteral1024 = std::getenv("BENCH_PATH_LITERAL_1024");
    if (wantLiteral1024 && std::strcmp(wantLiteral1024, "1") == 0)
        Register("Literal/weight0.5", LiteralFindPath, 0.5, 1024, true);
    for (double weight : {0.0, 1.0}) {
        Register(weight == 0 ? "Ours/weight0" : "Ours/weight1", FindPath, weight, 512);
        Register(weight == 0 ? "Literal/weight0" : "Literal/weight1", LiteralFindPath, weight, 512);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
