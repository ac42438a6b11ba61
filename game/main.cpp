// Process entry of TUMBREL 2009: reads the command line, prepares the platform and the run it
// asks for, and hands over to the program frame, which never returns.
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/program.h"
#include "game/data_files.h"
#include "game/menu.h"
#include "game/options.h"
#include "game/session.h"
#include "platform/platform.h"

#ifndef TUMBREL_VERSION
#define TUMBREL_VERSION "0.1.0"
#endif

namespace {

SessionConfig gConfig;

void RunGame() {
    // Without a window nobody could see the game or end it: stop instead of running blind.
    if (!PlatformOpen()) {
        std::fprintf(stderr, "tumbrel: the game cannot run without a window\n");
        EndOfProgramCleanup();
        std::exit(1);
    }
    BeginSession(gConfig);
    TumbrelMain();
}

bool Refuse(const std::string& message) {
    std::fprintf(stderr, "tumbrel: %s\n", message.c_str());
    return false;
}

// The replay decides the seed and where the run starts; the level it was made on must match.
bool PrepareReplay(Options& options, SessionConfig& config) {
    std::ifstream in(options.replayPath, std::ios::binary);
    if (!in) return Refuse("cannot read the replay " + options.replayPath);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    if (!ParseReplay(text, config.replay, error)) return Refuse(options.replayPath + ": " + error);
    const Replay& replay = config.replay;
    if (!replay.startsInLevel && options.level > 0)
        return Refuse(options.replayPath + ": the replay starts in the menu, not in level " + std::to_string(options.level));
    if (replay.startsInLevel && options.level > 0 && options.level != replay.level)
        return Refuse(options.replayPath + ": the replay was recorded on level " + std::to_string(replay.level));
    if (replay.startsInLevel) options.level = replay.level;
    uint32_t crc = 0;
    if (replay.hasLevelCrc && (!LevelFileCrc(replay.level, crc, ProgramDirectory()) || crc != replay.levelCrc))
        return Refuse(options.replayPath + ": the replay was recorded on another version of " +
                      LevelFilePath(replay.level, ProgramDirectory()));
    config.haveReplay = true;
    config.seed = replay.seed;
    return true;
}

uint32_t SeedFromTheClock() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

PlatformOptions PlatformFor(const Options& options) {
    PlatformOptions platform;
    if (options.window == Options::Window::Windowed) platform.display = PlatformOptions::Display::Windowed;
    if (options.window == Options::Window::Fullscreen) platform.display = PlatformOptions::Display::FullScreen;
    platform.windowScale = options.scale;
    // Nobody looks at a headless window: scaling it up would only cost time.
    if (options.headless && options.scale == 0) platform.windowScale = 1;
    platform.headless = options.headless;
    platform.volumePercent = options.mute ? 0 : options.volume;
    return platform;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    std::string error;
    std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!ParseOptions(arguments, options, error)) return Refuse(error), 2;
    if (options.showHelp) return std::fputs(OptionsHelp(), stdout), 0;
    if (options.showVersion) return std::printf("TUMBREL 2009 %s\n", TUMBREL_VERSION), 0;

    gConfig.seed = options.hasSeed ? static_cast<uint32_t>(options.seed) : SeedFromTheClock();
    if (!options.replayPath.empty() && !PrepareReplay(options, gConfig)) return 2;
    gConfig.options = options;
    gConfig.saveScreenshot = [](const std::string& path, std::string* why) { return SaveScreenshot(path, why); };
    if (options.headless) SetClockSource(HeadlessClock());
    StartLevelAtOnce = options.level;

    RegisterPlatformDevices(PlatformFor(options));
    std::string commandLine = CommandLineFromArguments(argc, argv);
    GameEntry(ArgumentText(commandLine), RunGame);
}
