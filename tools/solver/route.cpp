#include "route.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "game/cave_legend.h"
#include "game/state.h"
#include "search.h"
#include "walker.h"

namespace {

constexpr int kMaxCount = 9999;
// How long a walk waits for a way to open (a stone rolling past) before it gives up.
constexpr int kPatienceSteps = 8;
// How long a walk may come no nearer to its goal before it gives up.
constexpr int kWanderSteps = 40;

struct Word {
    std::string text;
    int line;
};

std::vector<Word> SplitWords(const std::string& text)
{
    std::vector<Word> words;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream in(line);
        std::string word;
        while (in >> word) {
            if (word[0] == '#') break;
            words.push_back({word, number});
        }
    }
    return words;
}

// "12" -> 12 within 1..kMaxCount; an empty text is `fallback`.
bool ReadCount(const std::string& digits, int fallback, int& count)
{
    if (digits.empty()) {
        count = fallback;
        return true;
    }
    if (digits.size() > 4 || digits.find_first_not_of("0123456789") != std::string::npos) return false;
    count = std::stoi(digits);
    return count >= 1 && count <= kMaxCount;
}

bool ReadCell(const std::string& text, int& cell)
{
    int x = -1, y = -1;
    char extra = 0;
    if (std::sscanf(text.c_str(), "%d,%d%c", &x, &y, &extra) != 2) return false;
    if (x < 0 || x > 19 || y < 0 || y > 14) return false;
    cell = y * 20 + x;
    return true;
}

uint8_t KeyOfLetter(char letter)
{
    switch (letter) {
    case 'R': return kRight;
    case 'L': return kLeft;
    case 'U': return kUp;
    case 'D': return kDown;
    default: return kNoKeys;
    }
}

class Parser {
public:
    explicit Parser(const std::string& text) : words_(SplitWords(text)) {}

    bool Parse(std::vector<RouteStep>& steps, std::string& error)
    {
        while (next_ < words_.size()) {
            const Word& word = words_[next_++];
            RouteStep step;
            step.line = word.line;
            step.text = word.text;
            std::string what;
            if (!ParseStep(word.text, step, what)) {
                error = "line " + std::to_string(word.line) + ": " + what;
                return false;
            }
            steps.push_back(step);
        }
        return true;
    }

private:
    bool More() const { return next_ < words_.size(); }
    const std::string& Peek() const { return words_[next_].text; }
    std::string Take(RouteStep& step)
    {
        const std::string& text = words_[next_++].text;
        step.text += " " + text;
        return text;
    }

    bool ParseStep(const std::string& word, RouteStep& step, std::string& what)
    {
        const bool ctrl = word[0] == '^';
        const std::string move = ctrl ? word.substr(1) : word;
        if (!move.empty() && KeyOfLetter(move[0]) != kNoKeys) {
            step.keys = KeyOfLetter(move[0]) | (ctrl ? kCtrl : 0);
            if (!ReadCount(move.substr(1), 1, step.count)) return what = "a move is R, L, U or D with an optional count 1 to 9999: \"" + word + "\"", false;
            return true;
        }
        if (word == "!") return step.keys = kSpace, true;
        if (word[0] == 'w' || word[0] == 'f') {
            const bool steps = word[0] == 'w';
            step.kind = RouteStep::WaitFrames;
            if (!ReadCount(word.substr(1), steps ? 1 : 0, step.count)) return what = "a wait is w, wN (steps) or fN (frames), N from 1 to 9999: \"" + word + "\"", false;
            if (steps) step.count *= kFramesPerStep;
            return true;
        }
        if (word == "go") {
            step.kind = RouteStep::Go;
            if (!More() || !ReadCell(Take(step), step.cell)) return what = "\"go\" needs a cell X,Y (X 0 to 19, Y 0 to 14)", false;
            return true;
        }
        if (word == "gem" || word == "gems") return ParseGems(word, step, what);
        if (word == "exit") return step.kind = RouteStep::Exit, true;
        if (word == "search") return step.kind = RouteStep::Search, true;
        if (word == "until") return ParseUntil(step, what);
        return what = "unknown word \"" + word + "\"", false;
    }

    bool ParseGems(const std::string& word, RouteStep& step, std::string& what)
    {
        step.kind = RouteStep::Gems;
        step.count = word == "gem" ? 1 : 0;
        if (word == "gems" && More() && Peek().find_first_not_of("0123456789") == std::string::npos) {
            if (!ReadCount(Take(step), 1, step.count)) return what = "\"gems N\" takes N from 1 to 9999", false;
        }
        return true;
    }

    bool ParseUntil(RouteStep& step, std::string& what)
    {
        const char* usage = "\"until\" needs \"still\" or a cell and what it holds: until X,Y C / until X,Y not C (C a legend character or \"empty\")";
        if (More() && Peek() == "still") {
            Take(step);
            step.kind = RouteStep::UntilStill;
            return true;
        }
        step.kind = RouteStep::UntilCell;
        if (!More() || !ReadCell(Take(step), step.cell) || !More()) return what = usage, false;
        if (Peek() == "not") {
            Take(step);
            step.negate = true;
        }
        if (!More()) return what = usage, false;
        const std::string held = Take(step);
        step.code = held == "empty" ? 0 : held.size() == 1 ? cave_legend::CodeOf(held[0]) : -1;
        if (step.code < 0) return what = "\"" + held + "\" is not a legend character (use \"empty\" for empty space)", false;
        return true;
    }

    std::vector<Word> words_;
    size_t next_ = 0;
};

std::string CellText(int cell) { return "(" + std::to_string(cell % 20) + "," + std::to_string(cell / 20) + ")"; }

const char* KeyName(uint8_t keys)
{
    switch (keys & ~kCtrl) {
    case kRight: return "right";
    case kLeft: return "left";
    case kUp: return "up";
    case kDown: return "down";
    default: return "space";
    }
}

int OffsetOf(uint8_t keys)
{
    switch (keys & ~kCtrl) {
    case kRight: return 1;
    case kLeft: return -1;
    case kUp: return -20;
    case kDown: return 20;
    default: return 0;
    }
}

bool IsWall(double code)
{
    return code == CellWall7 || code == CellWaxStill || (code >= CellDoor3 && code <= CellLava) || code == CellWaxWall;
}

bool IsMoving(double code) { return code == CellTransit || code >= CellStoneFalling || (code >= CellBlast && code <= CellBlastToGem); }

bool CaveStill()
{
    for (int cell = 0; cell < kCaveCells; ++cell)
        if (IsMoving(Cave.at(cell))) return false;
    return true;
}

class Runner {
public:
    Runner(Play& play, RouteFailure& failure) : play_(play), failure_(failure) {}

    bool Run(const std::vector<RouteStep>& steps)
    {
        for (const RouteStep& step : steps) {
            failure_.line = step.line;
            failure_.text = step.text;
            if (!RunStep(step)) return false;
            if (Outcome() == RunOutcome::ExitReached) return true;
        }
        // A last move into the open exit ends the level on the next frame.
        Idle(play_, 1);
        if (LevelEnded()) return Ended();
        return Fail("the route ends before the exit (" + std::to_string(static_cast<int>(GemsNeeded)) + " gems still needed)");
    }

private:
    bool Fail(const std::string& why, bool showLastReady = false)
    {
        failure_.why = why + " at " + PlayStatus(play_);
        failure_.picture = showLastReady ? play_.PictureWhenLastReady() : CavePicture();
        return false;
    }

    // A level that ended on the way: the exit is success, anything else the route's failure.
    bool Ended()
    {
        if (Outcome() == RunOutcome::ExitReached) return true;
        if (Outcome() == RunOutcome::Dead) return Fail("the player died (the cave below is the moment before)", true);
        return Fail("the clock ran out");
    }

    bool RunStep(const RouteStep& step)
    {
        switch (step.kind) {
        case RouteStep::Action: return RunAction(step);
        case RouteStep::WaitFrames:
            Idle(play_, step.count);
            return LevelEnded() ? Ended() : true;
        case RouteStep::Go:
            if (IsWall(Cave.at(step.cell))) return Fail("cell " + CellText(step.cell) + " holds " + CellName(Cave.at(step.cell)));
            return WalkTo([&] { return std::vector<int>{step.cell}; }, [&] { return PlayerCell() == step.cell; }, "to " + CellText(step.cell));
        case RouteStep::Gems: return TakeGems(step.count);
        case RouteStep::Exit: return WalkIntoExit();
        case RouteStep::UntilCell:
            return WaitFor([&] { return (Cave.at(step.cell) == step.code) != step.negate; });
        case RouteStep::UntilStill: return WaitFor(CaveStill);
        case RouteStep::Search: return SearchOn();
        }
        return true;
    }

    bool RunAction(const RouteStep& step)
    {
        for (int i = 0; i < step.count; ++i) {
            const int from = PlayerCell();
            const ActResult result = Act(play_, step.keys);
            if (result == ActResult::Ended) return Ended();
            if (result == ActResult::Blocked) {
                if (step.keys == kSpace) return Fail(DynamiteCount > 0 ? "no stick could be lit" : "no dynamite to light");
                const int towards = from + OffsetOf(step.keys);
                return Fail(std::string("nothing happened: ") + (step.keys & kCtrl ? "Ctrl+" : "") + KeyName(step.keys) +
                            " from " + CellText(from) + " meets " + CellName(Cave.at(towards)) + " at " + CellText(towards));
            }
        }
        return true;
    }

    // `noWay`, when given, is set instead of failing when no way to a target remains.
    template <typename Done>
    bool WalkTo(const Targets& targets, Done done, const std::string& where, bool* noWay = nullptr)
    {
        int waited = 0, waits = 0, sinceNearer = 0;
        int nearest = kFar;
        while (!done()) {
            if (LevelEnded()) return Ended();
            const StepResult step = StepTowards(play_, targets, rules_, waits >= 3);
            waits = step == StepResult::Waited ? waits + 1 : 0;
            if (step == StepResult::Ended) return Ended();
            if (step == StepResult::Trapped) return Fail("every way on " + where + " kills the player");
            if (step == StepResult::NoPath) {
                if (++waited > kPatienceSteps) {
                    if (noWay) return *noWay = true, false;
                    return Fail("no way " + where + " from " + CellText(PlayerCell()));
                }
                WaitSafely(play_, rules_);
            } else {
                waited = 0;
            }
            // A way that stays unsafe makes the walk wander: give up rather than run the clock out.
            const int distance = DistancesTo(targets(), rules_)[PlayerCell()];
            sinceNearer = distance < nearest ? 0 : sinceNearer + 1;
            nearest = std::min(nearest, distance);
            if (sinceNearer > kWanderSteps)
                return Fail("no safe way " + where + ": the walk came no nearer for " + std::to_string(kWanderSteps) + " steps");
        }
        return true;
    }

    // `count` gems, or (0) every gem within reach until the exit opens.
    bool TakeGems(int count)
    {
        const long goal = play_.GemsTaken() + count;
        const auto done = [&] { return count == 0 ? GemsNeeded <= 0 : play_.GemsTaken() >= goal; };
        while (!done()) {
            if (count == 0 && !GemWithinReach()) return LevelEnded() ? Ended() : true;
            if (GemCells().empty()) return Fail("no gem lies in the cave");
            const long before = play_.GemsTaken();
            bool noWay = false;
            if (!WalkTo(GemCells, [&] { return play_.GemsTaken() > before; }, "to a gem", count == 0 ? &noWay : nullptr))
                return noWay;
        }
        return true;
    }

    // Lets what moves settle for a few steps before saying no.
    bool GemWithinReach()
    {
        for (int waited = 0; waited <= kPatienceSteps && !LevelEnded(); ++waited) {
            if (WaitUntilReady(play_) && DistancesTo(GemCells(), rules_)[PlayerCell()] < kFar) return true;
            WaitSafely(play_, rules_);
        }
        return false;
    }

    bool WalkIntoExit()
    {
        if (GemsNeeded > 0) return Fail("the exit is closed (" + std::to_string(static_cast<int>(GemsNeeded)) + " gems still needed)");
        const int exit = ExitCell();
        if (exit < 0) return Fail("the cave has no exit");
        if (!WalkTo([exit] { return std::vector<int>{exit}; }, [&] { return PlayerCell() == exit || LevelEnded(); }, "to the exit")) return false;
        Idle(play_, 1);  // standing in the open exit: the next frame ends the level
        return Ended();
    }

    template <typename Condition>
    bool WaitFor(Condition condition)
    {
        while (!condition()) {
            if (LevelEnded()) return Ended();
            play_.Frame(kNoKeys);
        }
        return true;
    }

    bool SearchOn()
    {
        SearchSettings settings;
        const SearchResult result = SearchToExit(play_, settings);
        if (result.found) return true;
        return Fail("the search found no way on (" + std::to_string(result.states) + " states tried)");
    }

    Play& play_;
    RouteFailure& failure_;
    PathRules rules_;
};

}  // namespace

bool ParseRoute(const std::string& text, std::vector<RouteStep>& steps, std::string& error)
{
    steps.clear();
    return Parser(text).Parse(steps, error);
}

bool RunRoute(Play& play, const std::vector<RouteStep>& steps, RouteFailure& failure)
{
    return Runner(play, failure).Run(steps);
}
