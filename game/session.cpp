#include "game/session.h"

#include <cstdio>
#include <ctime>
#include <fstream>
#include <memory>

#include "core/errors.h"
#include "core/random.h"
#include "game/data_files.h"
#include "game/runner.h"
#include "game/state.h"
#include "gfx/frame.h"
#include "gfx/sprites.h"
#include "input/keyboard.h"

namespace {

constexpr int kScanF12 = 88;

struct Session {
    SessionConfig config;
    std::unique_ptr<ReplayInput> replayInput;
    std::unique_ptr<RecordingInput> recorder;
    bool counting = false;
    long frames = 0;
    bool leftByEscape = false;
    bool f12WasDown = false;
    bool reported = false;
};

Session& TheSession() {
    static Session session;
    return session;
}

void TakeScheduledScreenshots(Session& s) {
    if (!s.config.saveScreenshot) return;
    for (const Screenshot& shot : s.config.options.screenshots) {
        if (shot.frame != s.frames) continue;
        std::string error;
        if (!s.config.saveScreenshot(shot.path, &error))
            std::fprintf(stderr, "tumbrel: cannot save the screenshot %s: %s\n", shot.path.c_str(), error.c_str());
    }
}

// F12 in a window saves the frame beside the program, named by the time.
void TakeScreenshotOnF12(Session& s) {
    if (s.config.options.headless || !s.config.saveScreenshot || s.replayInput) return;
    bool down = KeyState(kScanF12) != 0;
    if (down && !s.f12WasDown) {
        char name[64];
        std::time_t now = std::time(nullptr);
        std::strftime(name, sizeof name, "tumbrel-%Y%m%d-%H%M%S.png", std::localtime(&now));
        std::string error;
        if (s.config.saveScreenshot(name, &error)) {
            std::printf("screenshot saved as %s\n", name);
        } else {
            std::fprintf(stderr, "tumbrel: cannot save the screenshot %s: %s\n", name, error.c_str());
        }
    }
    s.f12WasDown = down;
}

bool RunIsComplete(const Session& s) {
    if (s.config.options.frames > 0 && s.frames >= s.config.options.frames) return true;
    return s.replayInput && s.replayInput->Finished();
}

// A window shows every frame; a headless run draws only the frames it saves.
bool PictureWanted(const Session& s, long frame) {
    if (!s.config.options.headless) return true;
    for (const Screenshot& shot : s.config.options.screenshots)
        if (shot.frame == frame) return true;
    return false;
}

// Every presented frame passes here before it is shown: the picture is still readable.
bool FramePresented() {
    Session& s = TheSession();
    if (s.counting) TakeScheduledScreenshots(s);
    TakeScreenshotOnF12(s);
    if (!s.counting) return true;
    ++s.frames;
    if (RunIsComplete(s)) EndProgram();
    return PictureWanted(s, s.frames);
}

void WriteTextFile(const std::string& path, const std::string& text, const char* what) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) std::fprintf(stderr, "tumbrel: cannot write the %s %s\n", what, path.c_str());
}

void WriteRecording(Session& s) {
    Replay replay;
    replay.seed = s.config.seed;
    replay.startsInLevel = s.config.options.level > 0;
    replay.level = s.config.options.level;
    if (replay.startsInLevel) replay.hasLevelCrc = LevelFileCrc(replay.level, replay.levelCrc);
    s.recorder->FillReplay(replay);
    replay.endFrame = s.frames;
    WriteTextFile(s.config.options.recordPath, FormatReplay(replay), "recording");
}

// Runs after the clean-up on every way out: the end of a replay, Escape, Alt+F4, an error.
void ReportAtExit(int) {
    Session& s = TheSession();
    if (s.reported) return;
    s.reported = true;
    if (s.recorder) WriteRecording(s);
    if (!s.config.options.dumpPath.empty()) WriteTextFile(s.config.options.dumpPath, StateJson(), "dump");
    if (s.config.options.level > 0 || s.config.haveReplay) std::printf("%s\n", ResultLine().c_str());
    std::fflush(stdout);
}

std::string Number(double value) {
    RtStr text;
    StrFromNumber(text.raw(), value);
    return text.c_str();
}

}  // namespace

void BeginSession(const SessionConfig& config) {
    Session& s = TheSession();
    s.config = config;
    SeedRandom(config.seed);
    SetFramePresentedHook(FramePresented);
    SetExitHandler(ReportAtExit);
    SaveResultsAtExit = MayWriteSaveFiles(config.options);
}

void StartCountingFrames() {
    Session& s = TheSession();
    s.counting = true;
    s.frames = 0;
    SetFrameDrawn(PictureWanted(s, 0));
    if (s.config.haveReplay) {
        s.replayInput = std::make_unique<ReplayInput>(s.config.replay);
        SetInputSource(s.replayInput.get());
    } else if (!s.config.options.recordPath.empty()) {
        s.recorder = std::make_unique<RecordingInput>(CurrentInputSource());
        SetInputSource(s.recorder.get());
    }
}

long FramesCounted() { return TheSession().frames; }

void NoteLevelStarted() { TheSession().leftByEscape = false; }

void NoteLevelLeft() { TheSession().leftByEscape = true; }

const char* SessionOutcome() { return OutcomeName(LevelOutcome(TheSession().leftByEscape)); }

std::string ResultLine() {
    return std::string("result: ") + SessionOutcome() + " level=" + Number(CurrentLevel) +
           " frame=" + std::to_string(FramesCounted()) + " score=" + Number(Score) +
           " gems=" + Number(GemsNeeded) + " time=" + Number(TimeLeft);
}

std::string StateJson() {
    std::string json = "{\n";
    json += "  \"level\": " + Number(CurrentLevel) + ",\n";
    json += "  \"frame\": " + std::to_string(FramesCounted()) + ",\n";
    json += "  \"outcome\": \"" + std::string(SessionOutcome()) + "\",\n";
    json += "  \"cave\": [\n";
    // The dump may be written after a failure at start-up, before the cave exists.
    for (int row = 0; row < 15 && Cave.size0 >= 300; ++row) {
        json += "    [";
        for (int column = 0; column < 20; ++column) {
            if (column) json += ", ";
            json += Number(Cave.at(row * 20 + column));
        }
        json += row < 14 ? "],\n" : "]\n";
    }
    json += "  ],\n";
    const struct {
        const char* name;
        double value;
    } globals[] = {
        {"Score", Score},           {"GemsNeeded", GemsNeeded}, {"TimeLeft", TimeLeft},
        {"LevelOver", LevelOver},   {"PlayerPose", PlayerPose}, {"PlayerX", PlayerX},
        {"PlayerY", PlayerY},       {"DynamiteCount", DynamiteCount},
        {"KeyHeld1", KeyHeld1},     {"KeyHeld2", KeyHeld2},     {"KeyHeld3", KeyHeld3},
    };
    for (size_t i = 0; i < sizeof globals / sizeof globals[0]; ++i) {
        json += std::string("  \"") + globals[i].name + "\": " + Number(globals[i].value);
        json += i + 1 < sizeof globals / sizeof globals[0] ? ",\n" : "\n";
    }
    json += "}\n";
    return json;
}
