// Frames per second of the headless runner on a busy level (bugs, yam-yams, growing walls,
// falling and rolling material), drawing nothing, and the cost of the random draws that the
// growing-wall scan makes for every visited cell at every step.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/random.h"
#include "game/cave_legend.h"
#include "game/runner.h"
#include "game/state.h"

namespace {

// The player sits walled in at the top left so that the level runs its whole clock.
const char* const kBusyCave[15] = {
    "####################",
    "#@=  v    .....    #",
    "#==  ##   ..W..  o #",
    "#    ##   .....  o #",
    "#  >       ...   * #",
    "#      R         * #",
    "# ##       ##   oo #",
    "# ##   L   ##  ooo #",
    "#              *** #",
    "#   ^     ##   $$$ #",
    "#         ##  o o  #",
    "#  ..W.  D    .W.  #",
    "#  ....       ...  #",
    "#  ....   <        #",
    "####################",
};

std::string WriteBusyLevel()
{
    unsigned char bytes[1200] = {};
    for (int row = 0; row < 15; row++) {
        for (int column = 0; column < 20; column++) {
            bytes[row * 40 + column] = static_cast<unsigned char>(cave_legend::CodeOf(kBusyCave[row][column]));
        }
    }
    // Yam-yam packs: gems and saphirs around a new yam-yam.
    for (int k = 0; k < 90; k++) bytes[600 + k] = (k % 9 == 4) ? 36 : (k % 2 ? 3 : 4);
    char path[] = "/tmp/bench_game_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return "";
    const bool written = write(fd, bytes, sizeof bytes) == static_cast<ssize_t>(sizeof bytes);
    close(fd);
    return written ? path : "";
}

void BM_RunBusyLevel(benchmark::State& state)
{
    const std::string level = WriteBusyLevel();
    if (level.empty()) {
        state.SkipWithError("cannot write the level file");
        return;
    }
    RunSettings settings;
    settings.levelFile = level;
    settings.maxFrames = 19200;
    long frames = 0;
    RunReport report;
    for (auto _ : state) {
        report = RunLevel(settings);
        frames += report.framesPlayed;
    }
    state.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    state.counters["frames"] = double(report.framesPlayed);
    state.SetLabel(OutcomeName(report.outcome));
    std::remove(level.c_str());
}
BENCHMARK(BM_RunBusyLevel)->Unit(benchmark::kMillisecond);

// The growing-wall scan draws once per visited cell (rows 1..14, columns 1..19) at every step.
void BM_WaxingDrawsOfOneStep(benchmark::State& state)
{
    SeedRandom(1);
    for (auto _ : state) {
        for (int cell = 0; cell < 14 * 19; cell++) benchmark::DoNotOptimize(RandomInt(100));
    }
    state.counters["draws/s"] = benchmark::Counter(double(state.iterations()) * 14 * 19,
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WaxingDrawsOfOneStep)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
