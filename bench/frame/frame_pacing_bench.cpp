// Presents empty frames at 60 per second on a hidden window and reports, for the busy wait and
// the hybrid wait, the processor time used and how far frame intervals stray from 16.67 ms.
// Usage: bench_frame [seconds per wait, default 10] [busy|hybrid|both]
// Run it with SDL_VIDEODRIVER=offscreen to measure without a display.
#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/clock.h"
#include "gfx/frame.h"
#include "platform/platform.h"

namespace {

constexpr int kFramesPerSecond = 60;

struct PacingResult {
    const char* name;
    int frames = 0;
    double wallSeconds = 0;
    double cpuSeconds = 0;
    double p50DeviationMs = 0;
    double p99DeviationMs = 0;
    double worstDeviationMs = 0;
    double meanIntervalMs = 0;
};

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(std::ceil(fraction * values.size())) - 1;
    return values[std::min(index, values.size() - 1)];
}

PacingResult MeasureWait(FrameWait wait, const char* name, double seconds) {
    SetFrameWait(wait);
    SetFrameLimit(kFramesPerSecond);
    PresentFrame();  // settle the due time on the first slot
    std::vector<double> releases;
    double cpuBefore = ProcessCpuSeconds();
    double start = ClockNowMs();
    double end = start + seconds * 1000;
    while (ClockNowMs() < end) {
        PresentFrame();
        releases.push_back(ClockNowMs());
    }
    PacingResult result{name};
    result.cpuSeconds = ProcessCpuSeconds() - cpuBefore;
    result.wallSeconds = (ClockNowMs() - start) / 1000;
    result.frames = static_cast<int>(releases.size());

    double interval = 1000.0 / kFramesPerSecond;
    std::vector<double> deviations;
    for (size_t frame = 1; frame < releases.size(); ++frame)
        deviations.push_back(std::fabs(releases[frame] - releases[frame - 1] - interval));
    result.p50DeviationMs = Percentile(deviations, 0.50);
    result.p99DeviationMs = Percentile(deviations, 0.99);
    result.worstDeviationMs = Percentile(deviations, 1.0);
    if (releases.size() > 1) result.meanIntervalMs = (releases.back() - releases.front()) / (releases.size() - 1);
    return result;
}

void Report(const PacingResult& result) {
    std::printf("%-7s %6d frames %6.2f s  cpu %6.3f s = %5.1f %% of a core  mean interval %7.3f ms  "
                "deviation p50 %6.3f ms  p99 %6.3f ms  worst %6.3f ms\n",
                result.name, result.frames, result.wallSeconds, result.cpuSeconds,
                100 * result.cpuSeconds / result.wallSeconds, result.meanIntervalMs, result.p50DeviationMs,
                result.p99DeviationMs, result.worstDeviationMs);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    double seconds = argc > 1 ? std::atof(argv[1]) : 10;
    const char* which = argc > 2 ? argv[2] : "both";
    if (seconds <= 0) {
        std::fprintf(stderr, "usage: bench_frame [seconds per wait] [busy|hybrid|both]\n");
        return 2;
    }
    PlatformOptions options;
    options.headless = true;
    options.windowScale = 1;
    if (!OpenPlatform(options, "TumbrelDemo")) {
        std::fprintf(stderr, "bench_frame: no OpenGL window (try SDL_VIDEODRIVER=offscreen)\n");
        return 1;
    }
    bool both = std::strcmp(which, "both") == 0;
    if (both || std::strcmp(which, "busy") == 0) Report(MeasureWait(FrameWait::Busy, "busy", seconds));
    if (both || std::strcmp(which, "hybrid") == 0) Report(MeasureWait(FrameWait::Hybrid, "hybrid", seconds));
    ClosePlatform();
    return 0;
}
