// The headless runner.
#include "game/runner.h"

#include <algorithm>

#include "core/clock.h"
#include "core/random.h"
#include "game/cave_legend.h"
#include "game/state.h"
#include "gfx/frame.h"
#include "input/input_source.h"
#include "input/keyboard.h"

namespace {

// Headless frames need not wait for their slot: every reading of this clock lies a second
// after the last, so the frame pacing never spins.
double fastClockMs = 0;
double FastClockNow() { return fastClockMs += 1000; }
void FastClockSleep(double ms) { fastClockMs += ms; }
const ClockSource kFastClock = {FastClockNow, FastClockSleep};

// The runner's keys: a handful of holds, so a poll looks at them rather than at all 256 keys.
class HeldKeys : public InputSource {
public:
    explicit HeldKeys(const std::vector<KeyHold>& holds) : holds_(holds) {}
    void Poll(uint8_t keyState[kKeyStateSize]) override
    {
        std::fill(keyState, keyState + kKeyStateSize, 0);
        for (const KeyHold& hold : holds_) {
            // The keys polled after frame n - 1 are the ones frame n reads.
            const bool held = frame_ + 1 >= hold.firstFrame && frame_ + 1 <= hold.lastFrame;
            if (held && hold.scanCode >= 0 && hold.scanCode < kKeyStateSize) {
                keyState[hold.scanCode] = kKeyDownBit;
            }
        }
    }
    int CharacterOfScanCode(int) override { return 0; }
    void ShowPointer(bool) override {}
    void NextFrame() override { ++frame_; }

private:
    const std::vector<KeyHold>& holds_;
    long frame_ = 0;
};

// Installs the runner's input, clock and save rule, and puts back what was there before.
class HeadlessSession {
public:
    explicit HeadlessSession(const RunSettings& settings)
        : held_(settings.keys), previousInput_(CurrentInputSource()), previousSave_(SaveResultsAtExit)
    {
        SetInputSource(settings.input ? settings.input : &held_);
        SetClockSource(&kFastClock);
        SetEscapeQuits(0);
        SaveResultsAtExit = settings.saveResults;
    }
    ~HeadlessSession()
    {
        SetInputSource(&previousInput_);
        SetClockSource(nullptr);
        SaveResultsAtExit = previousSave_;
    }

private:
    HeldKeys held_;
    InputSource& previousInput_;
    bool previousSave_;
};

void SetUpRunnerLevel(const RunSettings& settings)
{
    CreateGameTables();
    MakeGems();
    CurrentLevel = settings.level;
    SeedRandom(settings.seed);
    if (settings.levelFile.empty()) {
        SetUpLevel();
        return;
    }
    // SetUpLevel with another file in place of LoadMaps.
    SetExitReachedThisLevel(false);
    DataInit();
    LoadMapFile(settings.levelFile.c_str());
    LookForMan();
    GemsNeeded = GemsPerLevel[CurrentLevel];
}

}  // namespace

RunOutcome OutcomeNow()
{
    if (ExitReachedThisLevel()) return RunOutcome::ExitReached;
    if (ShowEscapeHint == 1) return RunOutcome::Dead;
    if (LevelOver == 1) return RunOutcome::TimeOut;
    return RunOutcome::Running;
}

struct HeadlessLevel::Session {
    explicit Session(const RunSettings& settings) : headless(settings) {}
    HeadlessSession headless;
};

HeadlessLevel::HeadlessLevel(const RunSettings& settings) : session_(std::make_unique<Session>(settings))
{
    SetUpRunnerLevel(settings);
    PollInput();
}

HeadlessLevel::~HeadlessLevel() = default;

bool HeadlessLevel::PlayFrame() { return PlayOneFrame(); }

std::string CaveText()
{
    std::string text;
    for (int y = 0; y < 15; y++) {
        for (int x = 0; x < 20; x++) {
            const double code = Cave.at(y * 20 + x);
            const bool whole = code == static_cast<int>(code);
            text += whole ? cave_legend::SymbolOf(static_cast<int>(code)) : '?';
        }
        text += '\n';
    }
    return text;
}

const char* OutcomeName(RunOutcome outcome)
{
    switch (outcome) {
    case RunOutcome::ExitReached: return "exit";
    case RunOutcome::Dead: return "dead";
    case RunOutcome::TimeOut: return "timeout";
    case RunOutcome::Running: return "running";
    case RunOutcome::Escaped: return "escaped";
    }
    return "running";
}

RunReport RunLevel(const RunSettings& settings)
{
    HeadlessLevel level(settings);
    RunReport report;
    long stopAt = settings.maxFrames;
    for (long frame = 1; frame <= stopAt; frame++) {
        if (!level.PlayFrame()) {
            report.outcome = RunOutcome::Escaped;
            break;
        }
        report.framesPlayed = frame;
        if (report.endFrame == 0 && LevelOver == 1) {
            report.endFrame = frame;
            if (settings.stopWhenOver) stopAt = std::min(stopAt, frame + settings.framesAfterEnd);
        }
    }
    if (report.outcome != RunOutcome::Escaped) report.outcome = OutcomeNow();
    report.score = Score;
    report.gemsNeeded = GemsNeeded;
    report.timeLeft = TimeLeft;
    report.cave = CaveText();
    return report;
}
