// The headless runner.
#include "game/runner.h"

#include <algorithm>

#include "core/clock.h"
#include "core/random.h"
#include "game/cave_legend.h"
#include "game/state.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/input_source.h"
#include "input/keyboard.h"

namespace {

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
        SetClockSource(HeadlessClock());
        SetEscapeQuits(0);
        SaveResultsAtExit = settings.saveResults;
        const bool draw = settings.drawFrames;
        SetFramePresentedHook([draw] { return draw; });
        SetFrameDrawn(draw);
    }
    ~HeadlessSession()
    {
        SetInputSource(&previousInput_);
        SetClockSource(nullptr);
        SaveResultsAtExit = previousSave_;
        SetFramePresentedHook(nullptr);
        SetFrameDrawn(true);
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
    SetUpLevelFrom(settings.levelFile.empty() ? nullptr : settings.levelFile.c_str());
}

}  // namespace

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
    // In the order of RunOutcome.
    static const char* const kNames[] = {"exit", "dead", "timeout", "running", "escape"};
    static_assert(sizeof kNames / sizeof kNames[0] == static_cast<size_t>(RunOutcome::Escaped) + 1);
    const auto index = static_cast<size_t>(outcome);
    return index < sizeof kNames / sizeof kNames[0] ? kNames[index] : "running";
}

RunOutcome LevelOutcome(bool leftByEscape)
{
    if (ExitReachedThisLevel()) return RunOutcome::ExitReached;
    if (ShowEscapeHint == 1) return RunOutcome::Dead;
    if (LevelOver == 1) return RunOutcome::TimeOut;
    return leftByEscape ? RunOutcome::Escaped : RunOutcome::Running;
}

RunReport RunLevel(const RunSettings& settings)
{
    HeadlessLevel level(settings);
    RunReport report;
    long stopAt = settings.maxFrames;
    bool escaped = false;
    for (long frame = 1; frame <= stopAt; frame++) {
        if (!level.PlayFrame()) {
            escaped = true;
            break;
        }
        report.framesPlayed = frame;
        if (report.endFrame == 0 && LevelOver == 1) {
            report.endFrame = frame;
            if (settings.stopWhenOver) stopAt = std::min(stopAt, frame + settings.framesAfterEnd);
        }
    }
    report.outcome = LevelOutcome(escaped);
    report.score = Score;
    report.gemsNeeded = GemsNeeded;
    report.timeLeft = TimeLeft;
    report.cave = CaveText();
    return report;
}
