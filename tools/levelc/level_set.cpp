#include "level_set.h"

#include <cstdio>
#include <map>
#include <set>

#include "game/gems_table.h"
#include "level_check.h"
#include "walker.h"

namespace {

constexpr int kInnerCells = 18 * 13;
constexpr int kFirstTeachingLevel = 15;  // every element is introduced by then
constexpr int kGreedyFrom = 21;

struct ElementInfo {
    const char* name;
    char letter;
};
constexpr ElementInfo kElements[kElementCount] = {
    {"stones", 'S'}, {"pushing", 'P'}, {"keys and doors", 'K'}, {"dynamite", 'D'}, {"bugs", 'B'},
    {"yam-yams", 'Y'}, {"lava", 'L'}, {"growing walls", 'G'}, {"blinking wall", 'X'},
};

struct Cells {
    const std::array<uint8_t, 1200>& bytes;
    int At(int x, int y) const { return x < 0 || x > 19 || y < 0 || y > 14 ? 16 : bytes[y * 40 + x]; }
};

bool IsGemCode(int code) { return code == 3 || code == 4 || code == 98 || code == 99; }
bool PlayerCanStand(int code) { return code == 0 || code == 1 || code == 3 || code == 4 || code == 20; }

// A stone at rest with empty space on one side and room for the player on the other.
bool PushableStone(const Cells& cave, int x, int y)
{
    if (cave.At(x, y) != 2 || cave.At(x, y + 1) == 0) return false;
    return (cave.At(x + 1, y) == 0 && PlayerCanStand(cave.At(x - 1, y))) ||
           (cave.At(x - 1, y) == 0 && PlayerCanStand(cave.At(x + 1, y)));
}

unsigned ElementsOf(const Cells& cave)
{
    unsigned elements = 0;
    const auto add = [&](int element, bool present) { elements |= present ? 1u << element : 0u; };
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const int code = cave.At(x, y);
            const bool inner = x > 0 && x < 19 && y > 0 && y < 14;
            add(kStones, code == 2 || code == 97);
            add(kPushing, PushableStone(cave, x, y));
            add(kKeysAndDoors, code >= 8 && code <= 14 && code != 9);
            add(kDynamite, code == 5 || code == 32);
            add(kBugs, code >= 21 && code <= 24);
            add(kYamYams, code >= 36 && code <= 39);
            add(kLava, code == 19);
            add(kGrowingWalls, code == 30);
            add(kBlinkingWall, code == 15 && inner);
        }
    return elements;
}

void MeasureSource(const LevelData& data, LevelFacts& facts)
{
    const Cells cave{data.bytes};
    facts.name = data.name;
    facts.random = data.random;
    facts.elements = ElementsOf(cave);
    facts.demand = kGemsTable[facts.number - 1];
    facts.yield = ExplosionYield(data.bytes);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            const int code = cave.At(x, y);
            facts.lying += IsGemCode(code) ? 1 : 0;
            if (code == 20) facts.start = y * 20 + x;
            if (code == 6) facts.exit = y * 20 + x;
        }
    facts.gemCells = facts.lying;
}

std::string CellText(int cell) { return cell < 0 ? "-" : std::to_string(cell % 20) + "," + std::to_string(cell / 20); }

std::string Join(const std::vector<int>& numbers)
{
    std::string text;
    for (int n : numbers) text += (text.empty() ? "" : ", ") + std::to_string(n);
    return text.empty() ? "none" : text;
}

std::string ElementLetters(unsigned elements)
{
    std::string letters;
    for (int e = 0; e < kElementCount; ++e) letters += elements & (1u << e) ? kElements[e].letter : '.';
    return letters;
}

std::string ElementNames(unsigned elements)
{
    std::string names;
    for (int e = 0; e < kElementCount; ++e)
        if (elements & (1u << e)) names += (names.empty() ? "" : ", ") + std::string(kElements[e].name);
    return names.empty() ? "gems only" : names;
}

bool SolutionsHold(const LevelFacts& level) { return !level.solutions.empty() && level.solutionProblem.empty(); }

// The most time any of the level's solutions leaves (all of them must be under a bound).
double MostTimeLeft(const LevelFacts& level)
{
    double most = 0;
    for (const SolutionResult& s : level.solutions) most = std::max(most, s.timeLeft);
    return most;
}

RuleResult AtMost(const std::string& rule, const std::vector<int>& levels, size_t most)
{
    return {rule, levels.size() <= most, std::to_string(levels.size()) + ": " + Join(levels)};
}

RuleResult AtLeast(const std::string& rule, const std::vector<int>& levels, size_t least)
{
    return {rule, levels.size() >= least, std::to_string(levels.size()) + ": " + Join(levels)};
}

RuleResult SharedCells(const std::string& what, const std::vector<LevelFacts>& levels, bool start)
{
    std::map<int, int> uses;
    for (const LevelFacts& level : levels) ++uses[start ? level.start : level.exit];
    RuleResult result{"no " + what + " cell shared by more than 5 levels", true, ""};
    for (const auto& use : uses)
        if (use.second > 5) {
            result.ok = false;
            result.detail += (result.detail.empty() ? "" : "; ") + CellText(use.first) + " by " + std::to_string(use.second);
        }
    if (result.ok) result.detail = std::to_string(uses.size()) + " different cells";
    return result;
}

// Each element's first level is 15 or earlier and brings no other new element with it.
RuleResult ElementsTaughtAlone(const std::vector<LevelFacts>& levels)
{
    RuleResult result{"every element introduced alone by a level from 1 to 15", true, ""};
    const auto note = [&](const std::string& text) {
        result.ok = false;
        result.detail += (result.detail.empty() ? "" : "; ") + text;
    };
    std::map<int, std::vector<int>> newAt;  // level -> elements it introduces
    for (int e = 0; e < kElementCount; ++e) {
        int first = 0;
        for (const LevelFacts& level : levels)
            if (level.elements & (1u << e)) {
                first = level.number;
                break;
            }
        if (first == 0) note(std::string(kElements[e].name) + " never used");
        else if (first > kFirstTeachingLevel) note(std::string(kElements[e].name) + " first in level " + std::to_string(first));
        if (first > 0) newAt[first].push_back(e);
    }
    for (const auto& level : newAt)
        if (level.second.size() > 1) {
            std::string names;
            for (int e : level.second) names += (names.empty() ? "" : " + ") + std::string(kElements[e].name);
            note("level " + std::to_string(level.first) + " introduces " + names);
        }
    if (result.ok) result.detail = "each in a level of its own";
    return result;
}

}  // namespace

const char* ElementName(int element) { return kElements[element].name; }

std::vector<LevelFacts> MeasureLevelSet(const std::string& levelsDir, bool playGreedy)
{
    std::vector<LevelFacts> levels;
    for (int number = 1; number <= kLevelCount; ++number) {
        LevelFacts facts;
        facts.number = number;
        LevelData data;
        if (!LoadLevelData(std::to_string(number), levelsDir, data, facts.error)) {
            levels.push_back(facts);
            continue;
        }
        MeasureSource(data, facts);
        CheckSolutions(data, levelsDir + "/solutions", facts.solutions, facts.solutionProblem);
        if (playGreedy && number >= kGreedyFrom) {
            Play play(data, facts.solutions.empty() ? 1 : facts.solutions[0].seed);
            facts.greedyPlayed = true;
            facts.greedyFinished = PlayGreedy(play).finished;
        }
        levels.push_back(facts);
    }
    return levels;
}

std::vector<RuleResult> CheckSetRules(const std::vector<LevelFacts>& levels)
{
    std::vector<int> unreadable, unsolved, gemFilled, fromExplosions, greedy, clockMatters;
    for (const LevelFacts& level : levels) {
        if (!level.error.empty()) unreadable.push_back(level.number);
        if (!SolutionsHold(level)) unsolved.push_back(level.number);
        if (level.gemCells * 2 > kInnerCells) gemFilled.push_back(level.number);
        bool usesMade = SolutionsHold(level) && level.demand > level.lying;
        for (const SolutionResult& s : level.solutions) usesMade = usesMade && s.gemsTaken > level.lying;
        if (level.number >= 15 && usesMade) fromExplosions.push_back(level.number);
        if (level.greedyFinished) greedy.push_back(level.number);
        if (level.number >= kGreedyFrom && SolutionsHold(level) && MostTimeLeft(level) < 120) clockMatters.push_back(level.number);
    }
    return {
        {"every level source compiles and passes the game's checks", unreadable.empty(), "failing: " + Join(unreadable)},
        {"every level has solutions reaching the exit with its margin", unsolved.empty(), "missing or failing: " + Join(unsolved)},
        AtMost("at most 4 levels with more than half of the inner cells gems or saphirs", gemFilled, 4),
        SharedCells("start", levels, true),
        SharedCells("exit", levels, false),
        AtLeast("at least 10 levels from 15 on need gems from explosions or packs, and their solutions take them", fromExplosions, 10),
        ElementsTaughtAlone(levels),
        AtMost("from level 21 on at most 5 levels finished by the greedy player", greedy, 5),
        AtLeast("at least 8 levels from 21 on whose solutions end with fewer than 120 time units left", clockMatters, 8),
    };
}

std::string StatsTable(const std::vector<LevelFacts>& levels)
{
    std::string table = " lv name                 elements   demand lying yield start exit  time left (margin)  greedy\n";
    for (const LevelFacts& level : levels) {
        char line[300];
        if (!level.error.empty()) {
            std::snprintf(line, sizeof line, " %2d %s\n", level.number, level.error.c_str());
            table += line;
            continue;
        }
        std::string times;
        for (const SolutionResult& s : level.solutions)
            times += (times.empty() ? "" : ",") + (s.ok ? std::to_string(static_cast<int>(s.timeLeft)) : std::string("FAIL"));
        if (level.solutions.empty()) times = "none";
        times += " (" + std::to_string(TimeMargin(level.number)) + ")";
        const char* greedy = !level.greedyPlayed ? "" : level.greedyFinished ? "finishes" : "-";
        std::snprintf(line, sizeof line, " %2d %-20.20s %s %6d %5d %5d %-5s %-5s %-19s %s\n", level.number,
                      level.name.c_str(), ElementLetters(level.elements).c_str(), level.demand, level.lying, level.yield,
                      CellText(level.start).c_str(), CellText(level.exit).c_str(), times.c_str(), greedy);
        table += line;
    }
    table += "elements: ";
    for (int e = 0; e < kElementCount; ++e) table += std::string(e ? ", " : "") + kElements[e].letter + " " + kElements[e].name;
    return table + "\n";
}

std::string RulesTable(const std::vector<RuleResult>& rules)
{
    std::string table;
    for (const RuleResult& rule : rules) table += std::string(rule.ok ? "ok   " : "FAIL ") + rule.rule + ": " + rule.detail + "\n";
    return table;
}

std::string LevelsDocument(const std::vector<LevelFacts>& levels)
{
    std::string doc =
        "# The levels\n\n"
        "Generated from `assets/levels/` and `assets/levels/solutions/` by `cmake --build build --target\n"
        "levels-doc` (`levelc doc`); do not edit it by hand. Demand: the gems the level asks for; lying: the\n"
        "gems and saphirs in the cave at the start; yield: what explosions and packs can add (the 3 x 3\n"
        "blocks of the bugs at their start, less walls that resist blasts and gems already there, and the\n"
        "gems and saphirs of one pack per yam-yam). The solutions are the shipped replays, played back: a\n"
        "level must end with at least its margin of time units left (150 for levels 1-10, 80 for 11-30, 30\n"
        "for 31-50).\n\n"
        "| Level | Name | Elements | Demand | Lying | Yield | Solution | Frames | Time left | Margin | Score |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|\n";
    for (const LevelFacts& level : levels) {
        const std::string head = "| " + std::to_string(level.number) + " | " + level.name + " | " +
                                 ElementNames(level.elements) + " | " + std::to_string(level.demand) + " | " +
                                 std::to_string(level.lying) + " | " + std::to_string(level.yield) + " | ";
        if (level.solutions.empty()) doc += head + "none | | | " + std::to_string(TimeMargin(level.number)) + " missing | |\n";
        for (const SolutionResult& s : level.solutions) {
            char row[200];
            std::snprintf(row, sizeof row, "%s | %ld | %.0f | %d %s | %.0f |\n",
                          s.path.substr(s.path.find_last_of('/') + 1).c_str(), s.frames, s.timeLeft,
                          TimeMargin(level.number), s.ok ? "met" : "NOT MET", s.score);
            doc += head + row;
        }
    }
    return doc;
}
