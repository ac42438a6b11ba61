// tumbrel-solve: finds and checks level solutions with the game's own rules, headless.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "check.h"
#include "game/state.h"
#include "route.h"
#include "search.h"
#include "walker.h"

namespace {

const char* kUsage =
    "usage: tumbrel-solve [LEVEL] --route FILE [--seed N]... [--save | --write FILE]\n"
    "       tumbrel-solve LEVEL --search [--width W] [--seed N]... [--save | --write FILE]\n"
    "       tumbrel-solve LEVEL... --greedy [--seed N]\n"
    "       tumbrel-solve --check REPLAY...       play replays: exit reached with the margin?\n"
    "       tumbrel-solve --check-level N...      every shipped solution of these levels\n"
    "LEVEL is a level number (its source levelNN.txt in the levels directory) or a level source\n"
    "named levelNN.txt; a route named levelNN.route needs none.\n"
    "--seed may be given several times; a level with growing walls or yam-yams plays seeds 1, 2\n"
    "and 3 unless told otherwise. --save writes levelNN.replay (levelNN-sK.replay for the K-th\n"
    "seed of a level with random parts) into the solutions directory.\n"
    "--levels DIR   level sources (default " TUMBREL_LEVELS_DIR ")\n"
    "--solutions DIR  solutions (default: the levels directory's solutions/)\n";

struct Options {
    std::vector<std::string> levels;
    std::vector<std::string> checks;
    std::string mode;  // route, search, greedy, check, check-level
    std::string routePath, writePath;
    std::vector<uint32_t> seeds;
    bool save = false;
    bool progress = false;
    int width = 150;
    std::string levelsDir = TUMBREL_LEVELS_DIR;
    std::string solutionsDir;
};

bool ReadNumber(const char* text, long low, long high, long& value)
{
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return *text && !*end && value >= low && value <= high;
}

bool ParseOptions(int argc, char** argv, Options& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        long number = 0;
        if (arg == "--route" && hasValue) options.mode = "route", options.routePath = argv[++i];
        else if (arg == "--search") options.mode = "search";
        else if (arg == "--greedy") options.mode = "greedy";
        else if (arg == "--check" || arg == "--check-level") options.mode = arg.substr(2);
        else if (arg == "--save") options.save = true;
        else if (arg == "--progress") options.progress = true;
        else if (arg == "--write" && hasValue) options.writePath = argv[++i];
        else if (arg == "--levels" && hasValue) options.levelsDir = argv[++i];
        else if (arg == "--solutions" && hasValue) options.solutionsDir = argv[++i];
        else if (arg == "--seed" && hasValue && ReadNumber(argv[i + 1], 0, 0xFFFFFFFFL, number)) options.seeds.push_back(number), ++i;
        else if (arg == "--width" && hasValue && ReadNumber(argv[i + 1], 1, 100000, number)) options.width = number, ++i;
        else if (arg.rfind("--", 0) == 0) return error = "unknown or incomplete option " + arg, false;
        else (options.mode.rfind("check", 0) == 0 ? options.checks : options.levels).push_back(arg);
    }
    if (options.solutionsDir.empty()) options.solutionsDir = options.levelsDir + "/solutions";
    // "level07.route" names its level.
    int number = 0;
    const std::string routeName = options.routePath.substr(options.routePath.find_last_of('/') + 1);
    if (options.mode == "route" && options.levels.empty() && std::sscanf(routeName.c_str(), "level%d", &number) == 1)
        options.levels.push_back(std::to_string(number));
    if (options.mode.empty()) return error = "say what to do: --route, --search, --greedy, --check or --check-level", false;
    if (options.mode.rfind("check", 0) == 0 ? options.checks.empty() : options.levels.empty())
        return error = "nothing to " + options.mode, false;
    if (options.mode != "greedy" && options.mode.rfind("check", 0) != 0 && options.levels.size() != 1)
        return error = "--" + options.mode + " plays one level", false;
    return true;
}

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::vector<uint32_t> SeedsFor(const Options& options, const LevelData& level)
{
    if (!options.seeds.empty()) return options.seeds;
    return level.random ? std::vector<uint32_t>{1, 2, 3} : std::vector<uint32_t>{1};
}

std::string SolutionPath(const Options& options, const LevelData& level, size_t seedIndex)
{
    char name[40];
    if (level.random) std::snprintf(name, sizeof name, "/level%02d-s%zu.replay", level.number, seedIndex + 1);
    else std::snprintf(name, sizeof name, "/level%02d.replay", level.number);
    return options.solutionsDir + name;
}

// Writes the replay and plays it back as the per-level test will; false if it does not hold.
bool WriteAndCheck(const Replay& replay, const std::string& path, const LevelData& level)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << FormatReplay(replay);
    out.close();
    if (!out) {
        std::fprintf(stderr, "tumbrel-solve: cannot write %s\n", path.c_str());
        return false;
    }
    const SolutionResult result = PlaySolution(path, level);
    std::printf("wrote %s\n  %s\n", path.c_str(), DescribeResult(result, level.number).c_str());
    return result.ok;
}

bool TimeLeftOk(int margin) { return TimeLeft >= margin; }

std::string Summary(const Play& play)
{
    const int margin = TimeMargin(play.level().number);
    char text[200];
    std::snprintf(text, sizeof text, "%s, %ld gems taken; margin %d %s", PlayStatus(play).c_str(), play.GemsTaken(),
                  margin, TimeLeftOk(margin) ? "met" : "NOT MET");
    return text;
}

// Plays the level once per seed with `solve`; reports, and writes what reached the exit.
template <typename Solve>
int PlaySeeds(const Options& options, const LevelData& level, Solve solve)
{
    const std::vector<uint32_t> seeds = SeedsFor(options, level);
    if (!options.writePath.empty() && seeds.size() > 1) {
        std::fprintf(stderr, "tumbrel-solve: --write takes one seed; --save names the files by seed\n");
        return 2;
    }
    int status = 0;
    for (size_t k = 0; k < seeds.size(); ++k) {
        Replay replay;
        bool ok = false;
        {
            Play play(level, seeds[k]);
            std::printf("level %d \"%s\", seed %u: ", level.number, level.name.c_str(), seeds[k]);
            std::fflush(stdout);
            ok = solve(play);
            if (ok) std::printf("exit reached: %s\n", Summary(play).c_str());
            ok = ok && TimeLeftOk(TimeMargin(level.number));
            replay = play.ToReplay();
        }
        const std::string path = options.save ? SolutionPath(options, level, k) : options.writePath;
        if (ok && !path.empty()) ok = WriteAndCheck(replay, path, level);
        if (!ok) status = 1;
    }
    return status;
}

int RunRouteMode(const Options& options, const LevelData& level)
{
    std::string text, error;
    std::vector<RouteStep> steps;
    if (!ReadText(options.routePath, text)) {
        std::fprintf(stderr, "tumbrel-solve: cannot read the route %s\n", options.routePath.c_str());
        return 2;
    }
    if (!ParseRoute(text, steps, error)) {
        std::fprintf(stderr, "tumbrel-solve: %s: %s\n", options.routePath.c_str(), error.c_str());
        return 2;
    }
    return PlaySeeds(options, level, [&](Play& play) {
        RouteFailure failure;
        if (RunRoute(play, steps, failure)) return true;
        std::printf("the route fails\n%s line %d \"%s\": %s\n%s", options.routePath.c_str(), failure.line,
                    failure.text.c_str(), failure.why.c_str(), failure.picture.c_str());
        return false;
    });
}

int RunSearchMode(const Options& options, const LevelData& level)
{
    return PlaySeeds(options, level, [&](Play& play) {
        SearchSettings settings;
        settings.width = options.width;
        settings.progress = options.progress;
        const SearchResult result = SearchToExit(play, settings);
        std::printf("%s after %ld states in %.1f s (%.0f states/s)\n  ",
                    result.found ? "found" : result.exhaustive ? "no way exists" : "nothing found", result.states,
                    result.seconds, result.states / (result.seconds > 0 ? result.seconds : 1));
        if (!result.found) std::printf("%s", CavePicture().c_str());
        return result.found;
    });
}

int RunGreedyMode(const Options& options)
{
    int finished = 0, status = 0;
    if (options.levels.size() == 1 && (options.save || !options.writePath.empty())) {
        LevelData level;
        std::string error;
        if (!LoadLevelData(options.levels[0], options.levelsDir, level, error)) {
            std::fprintf(stderr, "tumbrel-solve: %s\n", error.c_str());
            return 2;
        }
        return PlaySeeds(options, level, [](Play& play) {
            const GreedyResult result = PlayGreedy(play);
            if (!result.finished) std::printf("greedy does not finish (%s)\n", result.how.c_str());
            return result.finished;
        });
    }
    for (const std::string& what : options.levels) {
        LevelData level;
        std::string error;
        if (!LoadLevelData(what, options.levelsDir, level, error)) {
            std::fprintf(stderr, "tumbrel-solve: %s\n", error.c_str());
            status = 2;
            continue;
        }
        Play play(level, options.seeds.empty() ? 1 : options.seeds[0]);
        const GreedyResult result = PlayGreedy(play);
        finished += result.finished ? 1 : 0;
        std::printf("level %2d: greedy %s (%s)\n", level.number, result.finished ? "FINISHES" : "does not finish",
                    result.finished ? Summary(play).c_str() : (result.how + ", " + PlayStatus(play)).c_str());
    }
    if (options.levels.size() > 1) std::printf("%d of %zu levels finished greedily\n", finished, options.levels.size());
    return status;
}

int RunCheckMode(const Options& options)
{
    int status = 0;
    for (const std::string& what : options.checks) {
        LevelData level;
        std::string error, problem;
        if (options.mode == "check-level") {
            std::vector<SolutionResult> results;
            if (!LoadLevelData(what, options.levelsDir, level, error)) {
                std::fprintf(stderr, "tumbrel-solve: %s\n", error.c_str());
                status = 1;
                continue;
            }
            const bool ok = CheckSolutions(level, options.solutionsDir, results, problem);
            for (const SolutionResult& result : results) std::printf("%s\n", DescribeResult(result, level.number).c_str());
            if (!ok) std::printf("level %d: %s\n", level.number, problem.c_str());
            status = ok ? status : 1;
            continue;
        }
        std::string text;
        Replay replay;
        if (!ReadText(what, text) || !ParseReplay(text, replay, error) || !replay.startsInLevel) {
            std::printf("%s: %s\n", what.c_str(), error.empty() ? "not a replay that starts in a level" : error.c_str());
            status = 1;
            continue;
        }
        if (!LoadLevelData(std::to_string(replay.level), options.levelsDir, level, error)) {
            std::fprintf(stderr, "tumbrel-solve: %s\n", error.c_str());
            status = 1;
            continue;
        }
        const SolutionResult result = PlaySolution(what, level);
        std::printf("%s\n", DescribeResult(result, level.number).c_str());
        status = result.ok ? status : 1;
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!ParseOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "tumbrel-solve: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.mode.rfind("check", 0) == 0) return RunCheckMode(options);
    if (options.mode == "greedy") return RunGreedyMode(options);
    LevelData level;
    if (!LoadLevelData(options.levels[0], options.levelsDir, level, error)) {
        std::fprintf(stderr, "tumbrel-solve: %s\n", error.c_str());
        return 2;
    }
    return options.mode == "route" ? RunRouteMode(options, level) : RunSearchMode(options, level);
}
