// A whole level headless through the real program: `tumbrel --headless --level N --frames 19185`
// (the level's clock runs out on frame 19,185), timed from start to exit, with the peak memory
// of the process. Goals on the 2-core development machine: at most 1.5 s, under 150 MB.
// Usage: bench_headless [level, default 1] [runs, default 5]; tumbrel must sit beside it.
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr const char* kWholeLevelFrames = "19185";

struct Run {
    double wallSeconds = 0;
    double cpuSeconds = 0;
    long peakKilobytes = 0;
    bool ok = false;
};

std::string ProgramBeside() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return "./tumbrel";
    std::string self(path, static_cast<size_t>(length));
    return self.substr(0, self.find_last_of('/') + 1) + "tumbrel";
}

Run RunOnce(const std::string& program, const std::string& level) {
    std::vector<std::string> words = {program, "--headless", "--level", level, "--frames", kWholeLevelFrames};
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child) return run;
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakKilobytes = usage.ru_maxrss;
    auto seconds = [](const timeval& time) { return time.tv_sec + time.tv_usec / 1e6; };
    run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string level = argc > 1 ? argv[1] : "1";
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    if (runs < 1) {
        std::fprintf(stderr, "usage: bench_headless [level] [runs]\n");
        return 2;
    }
    const std::string program = ProgramBeside();
    std::vector<double> walls, cpus;
    long peak = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = RunOnce(program, level);
        if (!run.ok) {
            std::fprintf(stderr, "bench_headless: %s did not run to its end\n", program.c_str());
            return 1;
        }
        walls.push_back(run.wallSeconds);
        cpus.push_back(run.cpuSeconds);
        peak = std::max(peak, run.peakKilobytes);
    }
    std::sort(walls.begin(), walls.end());
    std::sort(cpus.begin(), cpus.end());
    std::printf("level %s, %s frames headless, %d runs: wall median %.3f s (best %.3f, worst %.3f; goal <= 1.5 s), "
                "cpu median %.3f s, peak memory %.1f MB (goal < 150 MB)\n",
                level.c_str(), kWholeLevelFrames, runs, walls[walls.size() / 2], walls.front(), walls.back(),
                cpus[cpus.size() / 2], peak / 1024.0);
    return 0;
}
