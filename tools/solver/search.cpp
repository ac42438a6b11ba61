#include "search.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <unordered_set>

#include "game/level_snapshot.h"
#include "game/state.h"
#include "walker.h"

namespace {

constexpr uint8_t kWaitAction = 0xFF;

struct Node {
    int parent;
    uint8_t action;
};

struct Entry {
    int node;
    int score;
    long frames;
    Play::Mark mark;
};

bool Enterable(double code, int offset)
{
    const bool sideways = offset == 1 || offset == -1;
    return code == CellEmpty || code == CellEarth || code == CellGem || code == CellSaphir ||
           code == CellDynamite || code == CellKey1 || code == CellKey2 || code == CellKey3 ||
           (code >= CellDoor3 && code <= CellDoor1) || (code == CellExit && GemsNeeded <= 0) ||
           (code == CellStone && sideways);
}

bool Takeable(double code)
{
    return code == CellEarth || code == CellGem || code == CellSaphir || code == CellDynamite || code == CellKey1 ||
           code == CellKey2 || code == CellKey3;
}

std::vector<uint8_t> ActionsHere()
{
    const int here = PlayerCell();
    const struct {
        uint8_t key;
        int offset;
    } ways[4] = {{kRight, 1}, {kLeft, -1}, {kUp, -20}, {kDown, 20}};
    std::vector<uint8_t> actions;
    for (const auto& way : ways) {
        const double code = Cave.at(here + way.offset);
        if (Enterable(code, way.offset)) actions.push_back(way.key);
        if (Takeable(code) && code != CellEarth) actions.push_back(way.key | kCtrl);
    }
    if (DynamiteCount > 0 && DynaLit == 0) actions.push_back(kSpace);
    actions.push_back(kWaitAction);
    return actions;
}

// False when the action could not start.
bool Apply(Play& play, uint8_t action)
{
    if (action == kWaitAction) {
        Idle(play, kFramesPerStep);
        return true;
    }
    if (Act(play, action) == ActResult::Blocked) return false;
    // Standing in the open exit: the next frame ends the level.
    if (!LevelEnded() && Cave.at(PlayerCell()) == CellExit) play.Frame(kNoKeys);
    return true;
}

// Lower is better: gems still needed first, then the way to the nearest gem or the open exit;
// states that can no longer reach enough gems or the exit fall behind.
int Promise()
{
    PathRules rules;
    rules.lookaheadSteps = 0;
    constexpr int kUnreachable = 40;
    const std::array<int, kCaveCells> reach = DistancesFrom(PlayerCell(), rules);
    const int exit = ExitCell();
    const int exitSteps = exit < 0 ? kFar : reach[exit];
    const int exitPenalty = exitSteps >= kFar ? 30 : 0;
    if (GemsNeeded <= 0) return std::min(exitSteps, kUnreachable) + exitPenalty;
    int nearest = kUnreachable, reachable = 0;
    for (int gem : GemCells()) {
        nearest = std::min(nearest, reach[gem]);
        reachable += reach[gem] < kFar ? 1 : 0;
    }
    const int missing = std::max(0, static_cast<int>(GemsNeeded) - reachable);
    return static_cast<int>(GemsNeeded) * 16 + nearest + missing * 8 + exitPenalty;
}

void ReplayActions(Play& play, const std::vector<Node>& nodes, int goal, const Play::Mark& root)
{
    std::vector<uint8_t> actions;
    for (int node = goal; nodes[node].parent >= 0; node = nodes[node].parent) actions.push_back(nodes[node].action);
    play.Restore(root);
    for (auto action = actions.rbegin(); action != actions.rend(); ++action) {
        Apply(play, *action);
        WaitUntilReady(play);
    }
}

}  // namespace

SearchResult SearchToExit(Play& play, const SearchSettings& settings)
{
    const auto start = std::chrono::steady_clock::now();
    SearchResult result;
    std::vector<Node> nodes = {{-1, 0}};
    std::vector<Entry> beam(1);
    beam[0] = {0, Promise(), play.FrameCount(), {}};
    play.Save(beam[0].mark);
    const Play::Mark root = beam[0].mark;
    std::unordered_set<uint64_t> seen = {LevelStateHash()};
    bool cut = false;
    for (int layer = 1; !beam.empty() && !result.found && result.states < settings.maxStates; ++layer) {
        std::vector<Entry> next;
        for (const Entry& entry : beam) {
            play.Restore(entry.mark);
            for (uint8_t action : ActionsHere()) {
                play.Restore(entry.mark);
                if (!Apply(play, action)) continue;
                ++result.states;
                if (Outcome() == RunOutcome::ExitReached) {
                    nodes.push_back({entry.node, action});
                    result.found = true;
                    break;
                }
                if (!WaitUntilReady(play) || !seen.insert(LevelStateHash()).second) continue;
                nodes.push_back({entry.node, action});
                next.push_back({static_cast<int>(nodes.size()) - 1, Promise(), play.FrameCount(), {}});
                play.Save(next.back().mark);
            }
            if (result.found) break;
        }
        std::stable_sort(next.begin(), next.end(), [](const Entry& a, const Entry& b) {
            return a.score != b.score ? a.score < b.score : a.frames < b.frames;
        });
        if (static_cast<int>(next.size()) > settings.width) {
            cut = true;
            next.resize(settings.width);
        }
        if (settings.progress && !next.empty())
            std::fprintf(stderr, "layer %d: %zu states, best promise %d, %ld tried\n", layer, next.size(), next[0].score,
                         result.states);
        beam = std::move(next);
    }
    if (result.found) ReplayActions(play, nodes, static_cast<int>(nodes.size()) - 1, root);
    else play.Restore(root);
    result.exhaustive = !result.found && !cut && beam.empty();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}
