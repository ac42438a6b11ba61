#include "check.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>

#include "game/state.h"

namespace {

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// "level07.replay" or "level07-s2.replay"
bool IsSolutionName(const std::string& name, int level)
{
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "level%02d", level);
    const std::string suffix = ".replay";
    if (name.rfind(prefix, 0) != 0 || name.size() < suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string middle = name.substr(7, name.size() - 7 - suffix.size());
    return middle.empty() || (middle.size() > 2 && middle.rfind("-s", 0) == 0 &&
                              middle.find_first_not_of("0123456789", 2) == std::string::npos);
}

void PlayReplay(const Replay& replay, const LevelData& level, SolutionResult& result)
{
    const std::string file = WriteTemporaryLevel(level.bytes);
    if (file.empty()) {
        result.problem = "cannot write a temporary level file (TMPDIR)";
        return;
    }
    ReplayInput input(replay);
    RunSettings settings;
    settings.level = level.number;
    settings.levelFile = file;
    settings.seed = replay.seed;
    settings.input = &input;
    HeadlessLevel headless(settings);
    std::remove(file.c_str());
    const long lastFrame = replay.endFrame >= 0 ? replay.endFrame : settings.maxFrames;
    for (long frame = 1; frame <= lastFrame && LevelOver != 1; ++frame) {
        const double score = Score;
        headless.PlayFrame();
        if (Score - score == 5 && !ExitReachedThisLevel()) ++result.gemsTaken;
        result.frames = frame;
    }
    result.outcome = LevelOutcome(false);
    result.timeLeft = TimeLeft;
    result.score = Score;
}

}  // namespace

std::vector<std::string> SolutionFiles(const std::string& solutionsDir, int level)
{
    std::vector<std::string> files;
    if (DIR* dir = opendir(solutionsDir.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (IsSolutionName(entry->d_name, level)) files.push_back(solutionsDir + "/" + entry->d_name);
        closedir(dir);
    }
    std::sort(files.begin(), files.end());
    return files;
}

SolutionResult PlaySolution(const std::string& replayPath, const LevelData& level)
{
    SolutionResult result;
    result.path = replayPath;
    std::string text, error;
    Replay replay;
    if (!ReadText(replayPath, text)) {
        result.problem = "cannot read it";
        return result;
    }
    if (!ParseReplay(text, replay, error)) {
        result.problem = error;
        return result;
    }
    result.seed = replay.seed;
    if (!replay.startsInLevel || replay.level != level.number) {
        result.problem = "it does not start in level " + std::to_string(level.number);
        return result;
    }
    if (!replay.hasLevelCrc || replay.levelCrc != level.crc) {
        result.problem = "it was made on another version of the level (level-crc32): make it again";
        return result;
    }
    PlayReplay(replay, level, result);
    const int margin = TimeMargin(level.number);
    if (result.outcome != RunOutcome::ExitReached)
        result.problem = std::string("it ends ") + OutcomeName(result.outcome) + ", not in the exit";
    else if (result.timeLeft < margin)
        result.problem = "it leaves " + std::to_string(static_cast<int>(result.timeLeft)) + " time units, " +
                         std::to_string(margin) + " are needed";
    result.ok = result.problem.empty();
    return result;
}

bool CheckSolutions(const LevelData& level, const std::string& solutionsDir, std::vector<SolutionResult>& results,
                    std::string& problem)
{
    results.clear();
    std::set<uint32_t> seeds;
    bool allOk = true;
    for (const std::string& path : SolutionFiles(solutionsDir, level.number)) {
        results.push_back(PlaySolution(path, level));
        seeds.insert(results.back().seed);
        allOk = allOk && results.back().ok;
    }
    if (results.empty()) problem = "no solution in " + solutionsDir;
    else if (level.random && seeds.size() < 3)
        problem = "the level has random parts: it needs solutions for three different seeds, found " +
                  std::to_string(seeds.size());
    else if (!allOk) problem = "a solution fails";
    return problem.empty();
}

std::string DescribeResult(const SolutionResult& result, int level)
{
    char text[240];
    if (result.frames == 0) {
        std::snprintf(text, sizeof text, "%s: %s", BaseName(result.path).c_str(), result.problem.c_str());
        return text;
    }
    std::snprintf(text, sizeof text, "%s: %s at frame %ld, time left %.0f (margin %d), score %.0f, %ld gems taken, seed %u%s%s",
                  BaseName(result.path).c_str(), OutcomeName(result.outcome), result.frames, result.timeLeft,
                  TimeMargin(level), result.score, result.gemsTaken, result.seed, result.ok ? "" : ": ",
                  result.problem.c_str());
    return text;
}
