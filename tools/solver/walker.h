// Walking through the cave as it stands: shortest paths to a set of target cells, one safe step
// at a time (a step that kills within the next few steps is skipped), and the naive greedy
// player built on them. Depends on play.h.
#pragma once
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "play.h"

constexpr int kCaveCells = 300;
constexpr int kFar = 1 << 20;

// What a path may lead through besides empty space, earth, gems and saphirs. Stones are never
// passed (no pushing); the exit only as the target, once it is open.
struct PathRules {
    bool keysAndSticks = true;  // step on keys and dynamite sticks, pass doors whose key is held
    int lookaheadSteps = 2;     // a step is safe when idling this many steps after it kills nobody
    bool keepFromAnimals = true;  // a cell beside a bug or yam-yam costs as much as a detour
};

// The cost of the way from every cell to the nearest target, kFar where none is reachable: an
// action each, more for a step down from under material.
std::array<int, kCaveCells> DistancesTo(const std::vector<int>& targets, const PathRules& rules);
// The same forwards from `start` to every cell; the exit is reached but not passed, doors neither.
std::array<int, kCaveCells> DistancesFrom(int start, const PathRules& rules);
std::vector<int> GemCells();  // gems and saphirs at rest
int ExitCell();               // -1 when the cave has none
bool Walkable(int cell, const PathRules& rules);

enum class StepResult { Moved, Waited, NoPath, Trapped, Ended };
using Targets = std::function<std::vector<int>()>;  // asked afresh at every step
// One action along a shortest path to the nearest target: the first safe step that brings the
// player nearer, else a safe wait while something moves (unless `preferMoving`), else any safe
// step, else a safe wait. Safe: walking on or standing still outlives the next few steps.
// Trapped: every choice kills.
StepResult StepTowards(Play& play, const Targets& targets, const PathRules& rules, bool preferMoving = false);

// A step of waiting where standing still outlives the next few steps, else a safe step aside,
// else waiting all the same.
void WaitSafely(Play& play, const PathRules& rules);

struct GreedyResult {
    bool finished = false;
    std::string how;  // "exit", "dead", "timeout", or why it gave up
};
// The naive greedy player: the shortest path to the nearest gem, then to the exit; skips a step
// that kills within the next three steps; no keys, no pushing, no dynamite. After three waits in
// a row it tries other ways before waiting again; gives up when no gem has come in for 150 steps.
GreedyResult PlayGreedy(Play& play);

// A short name for what a cell holds, for messages: "wall", "stone", "closed exit"...
std::string CellName(double code);
