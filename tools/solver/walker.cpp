#include "walker.h"

#include <algorithm>
#include <queue>

#include "game/state.h"

namespace {

struct Way {
    uint8_t key;
    int offset;
};
constexpr Way kWays[4] = {{kRight, 1}, {kLeft, -1}, {kUp, -20}, {kDown, 20}};

bool InCave(int cell) { return cell >= 0 && cell < kCaveCells; }
double CodeAt(int cell) { return Cave.at(cell); }
bool IsDoor(double code) { return code >= CellDoor3 && code <= CellDoor1; }
bool IsMaterial(double code)
{
    return code == CellStone || code == CellGem || code == CellSaphir || code >= CellStoneFalling;
}
bool IsInMotion(double code)
{
    return code == CellTransit || code == CellAnimalTransit || code >= CellStoneFalling ||
           (code >= CellBlast && code <= CellBlastToGem) || (code >= CellBugRight && code <= CellBugDown) ||
           (code >= CellYamRight && code <= CellYamDown) || code == CellWaxWall || code == CellDynamiteLit;
}

// Waiting helps only while something moves.
bool CaveChanging()
{
    for (int cell = 0; cell < kCaveCells; ++cell)
        if (IsInMotion(CodeAt(cell))) return true;
    return false;
}

// Stepping down from under material brings it down after the player: such a step counts as
// several, so that a way round is taken where there is one.
constexpr int kRiskCost = 6;
bool DownFromUnderMaterial(int from, int offset) { return offset == 20 && from >= 20 && IsMaterial(CodeAt(from - 20)); }

bool IsAnimal(double code)
{
    return (code >= CellBugRight && code <= CellAnimal28) || code == CellAnimalTransit || (code >= CellYamRight && code <= CellYamDown);
}

bool BesideAnimal(int cell)
{
    for (int offset : {1, -1, 20, -20})
        if (InCave(cell + offset) && IsAnimal(CodeAt(cell + offset))) return true;
    return false;
}

int StepCost(int from, int to, int offset, const PathRules& rules)
{
    const bool risky = DownFromUnderMaterial(from, offset) || (rules.keepFromAnimals && BesideAnimal(to));
    return 1 + (risky ? kRiskCost : 0);
}

bool DoorKeyHeld(double door)
{
    if (door == CellDoor1) return KeyHeld1 == 1;
    if (door == CellDoor2) return KeyHeld2 == 1;
    return KeyHeld3 == 1;
}

// A door whose key is held, with empty space beyond, carries the player two cells.
bool PassableDoor(int door, int beyond, const PathRules& rules)
{
    return rules.keysAndSticks && InCave(beyond) && IsDoor(CodeAt(door)) && DoorKeyHeld(CodeAt(door)) &&
           CodeAt(beyond) == CellEmpty;
}

struct Choice {
    uint8_t keys;
    int distance;
};

struct Choices {
    std::vector<Choice> nearer, others;
};

// The steps from the player's cell that keep on a way to a target, nearest first.
Choices ChoicesTowards(const std::vector<int>& targets, const PathRules& rules)
{
    Choices choices;
    const std::array<int, kCaveCells> distance = DistancesTo(targets, rules);
    const int here = PlayerCell();
    if (distance[here] >= kFar) return choices;
    for (const Way& way : kWays) {
        int next = here + way.offset;
        if (IsDoor(CodeAt(next))) next = PassableDoor(next, next + way.offset, rules) ? next + way.offset : -1;
        const bool target = std::find(targets.begin(), targets.end(), next) != targets.end();
        if (!InCave(next) || (!target && !Walkable(next, rules)) || distance[next] >= kFar) continue;
        const int via = distance[next] + StepCost(here, next, way.offset, rules);
        (via <= distance[here] ? choices.nearer : choices.others).push_back({way.key, via});
    }
    const auto byDistance = [](const Choice& a, const Choice& b) { return a.distance < b.distance; };
    std::stable_sort(choices.nearer.begin(), choices.nearer.end(), byDistance);
    std::stable_sort(choices.others.begin(), choices.others.end(), byDistance);
    return choices;
}

// Walks on along the way, without looking ahead, for a few steps.
void FollowWay(Play& play, const Targets& targets, const PathRules& rules, int steps)
{
    for (int step = 0; step < steps && WaitUntilReady(play); ++step) {
        const Choices choices = ChoicesTowards(targets(), rules);
        bool moved = false;
        for (const Choice& choice : choices.nearer)
            if ((moved = Act(play, choice.keys) != ActResult::Blocked)) break;
        if (!moved) Idle(play, kFramesPerStep);
    }
}

// Whether the player outlives the next few steps, walking on or standing still.
bool Survives(Play& play, const Targets& targets, const PathRules& rules)
{
    if (rules.lookaheadSteps <= 0) return true;
    Play::Mark now;
    play.Save(now);
    FollowWay(play, targets, rules, rules.lookaheadSteps);
    bool alive = Outcome() != RunOutcome::Dead;
    play.Restore(now);
    if (alive) return true;
    Idle(play, rules.lookaheadSteps * kFramesPerStep);
    alive = Outcome() != RunOutcome::Dead;
    play.Restore(now);
    return alive;
}

// Plays the action (no keys: a step of waiting) and keeps it when the player survives it.
bool TrySafely(Play& play, uint8_t keys, const Targets& targets, const PathRules& rules)
{
    Play::Mark before;
    play.Save(before);
    const ActResult result = keys == kNoKeys ? (Idle(play, kFramesPerStep), ActResult::Started) : Act(play, keys);
    if (result == ActResult::Ended && Outcome() == RunOutcome::ExitReached) return true;
    if (result != ActResult::Started || LevelEnded() || !Survives(play, targets, rules)) {
        play.Restore(before);
        return false;
    }
    return true;
}

}  // namespace

bool Walkable(int cell, const PathRules& rules)
{
    const double code = CodeAt(cell);
    if (code == CellEmpty || code == CellEarth || code == CellGem || code == CellSaphir) return true;
    const bool keyOrStick = code == CellKey1 || code == CellKey2 || code == CellKey3 || code == CellDynamite;
    return keyOrStick && rules.keysAndSticks;
}

std::vector<int> GemCells()
{
    std::vector<int> cells;
    for (int cell = 0; cell < kCaveCells; ++cell)
        if (CodeAt(cell) == CellGem || CodeAt(cell) == CellSaphir) cells.push_back(cell);
    return cells;
}

int ExitCell()
{
    for (int cell = 0; cell < kCaveCells; ++cell)
        if (CodeAt(cell) == CellExit) return cell;
    return -1;
}

// Cheapest ways by Dijkstra, backwards from the targets or forwards from a cell.
std::array<int, kCaveCells> Distances(const std::vector<int>& sources, bool backwards, const PathRules& rules)
{
    std::array<int, kCaveCells> distance;
    distance.fill(kFar);
    using Entry = std::pair<int, int>;  // distance, cell
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> queue;
    for (int source : sources)
        if (InCave(source) && distance[source] == kFar) queue.push({distance[source] = 0, source});
    const int player = PlayerCell();
    while (!queue.empty()) {
        const auto [reached, cell] = queue.top();
        queue.pop();
        if (reached != distance[cell] || (!backwards && cell != sources[0] && CodeAt(cell) == CellExit)) continue;
        for (const Way& way : kWays) {
            // Backwards: the cell `other` whose step `way` leads here; forwards: the cell it leads to.
            int other = backwards ? cell - way.offset : cell + way.offset;
            if (backwards && InCave(other) && IsDoor(CodeAt(other)) && PassableDoor(other, cell, rules)) other -= way.offset;
            if (!InCave(other)) continue;
            const bool enterable = backwards ? Walkable(other, rules) || other == player
                                             : Walkable(other, rules) || CodeAt(other) == CellExit;
            const int cost = backwards ? StepCost(other, cell, way.offset, rules) : StepCost(cell, other, way.offset, rules);
            if (enterable && reached + cost < distance[other]) queue.push({distance[other] = reached + cost, other});
        }
    }
    return distance;
}

std::array<int, kCaveCells> DistancesTo(const std::vector<int>& targets, const PathRules& rules)
{
    return Distances(targets, true, rules);
}

std::array<int, kCaveCells> DistancesFrom(int start, const PathRules& rules)
{
    return Distances({start}, false, rules);
}

StepResult StepTowards(Play& play, const Targets& targets, const PathRules& rules, bool preferMoving)
{
    if (!WaitUntilReady(play)) return StepResult::Ended;
    const Choices choices = ChoicesTowards(targets(), rules);
    if (choices.nearer.empty() && choices.others.empty()) return StepResult::NoPath;
    const auto tryChoices = [&](const std::vector<Choice>& list) {
        for (const Choice& choice : list)
            if (TrySafely(play, choice.keys, targets, rules)) return true;
        return false;
    };
    if (tryChoices(choices.nearer)) return LevelEnded() ? StepResult::Ended : StepResult::Moved;
    const bool waitFirst = CaveChanging() && !preferMoving;
    if (waitFirst && TrySafely(play, kNoKeys, targets, rules)) return StepResult::Waited;
    if (tryChoices(choices.others)) return LevelEnded() ? StepResult::Ended : StepResult::Moved;
    if (!waitFirst && TrySafely(play, kNoKeys, targets, rules)) return StepResult::Waited;
    return StepResult::Trapped;
}

void WaitSafely(Play& play, const PathRules& rules)
{
    if (!WaitUntilReady(play)) return;
    const Targets none = [] { return std::vector<int>{}; };
    if (TrySafely(play, kNoKeys, none, rules)) return;
    for (const Way& way : kWays)
        if (Walkable(PlayerCell() + way.offset, rules) && TrySafely(play, way.key, none, rules)) return;
    Idle(play, kFramesPerStep);
}

GreedyResult PlayGreedy(Play& play)
{
    PathRules rules;
    rules.keysAndSticks = false;
    rules.lookaheadSteps = 3;
    rules.keepFromAnimals = false;
    constexpr int kPatienceSteps = 150;
    constexpr int kWaitsBeforeMoving = 3;
    int stalled = 0, waits = 0;
    double needed = GemsNeeded;
    const Targets targets = [] { return GemsNeeded > 0 ? GemCells() : std::vector<int>{ExitCell()}; };
    while (WaitUntilReady(play)) {
        if (GemsNeeded <= 0 && PlayerCell() == ExitCell()) {
            Idle(play, 1);  // standing in the open exit: the next frame ends the level
            continue;
        }
        const StepResult step = StepTowards(play, targets, rules, waits >= kWaitsBeforeMoving);
        if (step == StepResult::NoPath || step == StepResult::Trapped) Idle(play, kFramesPerStep);
        waits = step == StepResult::Moved ? 0 : waits + 1;
        if (GemsNeeded < needed) stalled = 0;
        needed = GemsNeeded;
        if (++stalled > kPatienceSteps)
            return {false, GemsNeeded > 0 ? "stuck: no gem within safe reach" : "stuck: no safe way to the exit"};
    }
    return {Outcome() == RunOutcome::ExitReached, OutcomeName(Outcome())};
}

std::string CellName(double code)
{
    struct Name {
        double low, high;
        const char* name;
    };
    static const Name kNames[] = {
        {0, 0, "empty space"}, {1, 1, "earth"}, {2, 2, "a stone"}, {3, 3, "a gem"}, {4, 4, "a saphir"},
        {5, 5, "a dynamite stick"}, {6, 6, "the exit"}, {7, 7, "a wall"}, {8, 8, "a key"},
        {9, 9, "a still growing wall"}, {10, 11, "a key"}, {12, 14, "a door"}, {15, 15, "the blinking wall"},
        {16, 18, "a wall"}, {19, 19, "lava"}, {20, 20, "the player"}, {21, 24, "a bug"}, {25, 28, "a deadly cell"},
        {30, 30, "a growing wall"}, {31, 31, "an animal on the move"}, {32, 32, "lit dynamite"},
        {33, 33, "something on the move"}, {36, 39, "a yam-yam"}, {40, 43, "an explosion"},
        {97, 97, "a falling stone"}, {98, 98, "a falling gem"}, {99, 99, "a falling saphir"},
    };
    for (const Name& name : kNames)
        if (code >= name.low && code <= name.high) {
            if (code == CellExit && GemsNeeded > 0) return "the closed exit";
            return name.name;
        }
    return "cell code " + std::to_string(static_cast<int>(code));
}
