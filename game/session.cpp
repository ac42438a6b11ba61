#include "game/session.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

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
    bool endedByFrameLimit = false;  // between frames, by --frames or the replay's end
    bool f12WasDown = false;
    bool reported = false;
    bool outputFailed = false;  // a screenshot, the dump or the recording could not be written
    std::vector<bool> shotsTried;  // by the order of options.screenshots
};

Session& TheSession() {
    static Session session;
    return session;
}

void TakeScheduledScreenshots(Session& s) {
    if (!s.config.saveScreenshot) return;
    const std::vector<Screenshot>& shots = s.config.options.screenshots;
    for (size_t i = 0; i < shots.size(); ++i) {
        const Screenshot& shot = shots[i];
        if (shot.frame != s.frames) continue;
        s.shotsTried[i] = true;
        std::string error;
        if (s.config.saveScreenshot(shot.path, &error)) continue;
        std::fprintf(stderr, "tumbrel: cannot save the screenshot %s: %s\n", shot.path.c_str(), error.c_str());
        s.outputFailed = true;
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
    if (RunIsComplete(s)) {
        s.endedByFrameLimit = true;
        EndProgram();
    }
    return PictureWanted(s, s.frames);
}

bool WriteTextFile(const std::string& path, const std::string& text, const char* what) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    int why = errno;
    if (file && std::fclose(file) != 0 && written) {
        written = false;
        why = errno;
    }
    if (!written) std::fprintf(stderr, "tumbrel: cannot write the %s %s: %s\n", what, path.c_str(), std::strerror(why));
    return written;
}

void WriteRecording(Session& s) {
    Replay replay;
    replay.seed = s.config.seed;
    replay.startsInLevel = s.config.options.level > 0;
    replay.level = s.config.options.level;
    if (replay.startsInLevel) replay.hasLevelCrc = LevelFileCrc(replay.level, replay.levelCrc);
    s.recorder->FillReplay(replay);
    // A run that ends inside a frame ends on its keys (Escape, a menu choice, or Alt+F4 read
    // before the frame is shown): the replay must play that frame as well.
    replay.endFrame = s.endedByFrameLimit ? s.frames : s.frames + 1;
    if (!WriteTextFile(s.config.options.recordPath, FormatReplay(replay), "recording")) s.outputFailed = true;
}

// A shot whose frame never came (the level was left, the replay ended) is as missing as one
// that could not be saved.
void ReportMissedScreenshots(Session& s) {
    const std::vector<Screenshot>& shots = s.config.options.screenshots;
    for (size_t i = 0; i < shots.size(); ++i) {
        if (s.shotsTried[i]) continue;
        std::fprintf(stderr, "tumbrel: the screenshot %s was not taken: the run ended after %ld frames, before frame %ld\n",
                     shots[i].path.c_str(), s.frames, shots[i].frame);
        s.outputFailed = true;
    }
}

// Runs after the clean-up on every way out: the end of a replay, Escape, Alt+F4, an error.
void ReportAtExit(int status) {
    Session& s = TheSession();
    if (s.reported) return;
    s.reported = true;
    if (s.recorder) WriteRecording(s);
    const std::string& dump = s.config.options.dumpPath;
    if (!dump.empty() && !WriteTextFile(dump, StateJson(), "dump")) s.outputFailed = true;
    ReportMissedScreenshots(s);
    if (s.config.options.level > 0 || s.config.haveReplay) std::printf("%s\n", ResultLine().c_str());
    std::fflush(stdout);
    // A run whose files are missing must not pass for a good one with a script that calls it.
    if (status == 0 && s.outputFailed) {
        std::fflush(stderr);
        std::exit(1);
    }
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
    s.shotsTried.assign(config.options.screenshots.size(), false);
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
    }
    // A replay recorded again comes out as it played: its true end, the level's checksum.
    if (!s.config.options.recordPath.empty()) {
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
