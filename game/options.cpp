#include "game/options.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>

#include "game/gems_table.h"

namespace {

// Where a long is 32 bits (the browser build), frame numbers stop at 2^31 - 1, a year at 60 a second.
constexpr long long kLastFrame = std::min<long long>(1LL << 40, std::numeric_limits<long>::max());

bool ParseWhole(const std::string& text, long long low, long long high, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < low || parsed > high) return false;
    value = parsed;
    return true;
}

bool ParseScreenshot(const std::string& text, Screenshot& shot) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) return false;
    shot.path = text.substr(colon + 1);
    long long frame = 0;
    if (!ParseWhole(text.substr(0, colon), 0, kLastFrame, frame)) return false;
    shot.frame = static_cast<long>(frame);
    return true;
}

// Options that take a value; false with `error` set when the value is bad.
bool ApplyValue(const std::string& name, const std::string& value, Options& options, std::string& error) {
    long long number = 0;
    if (name == "--scale") {
        if (!ParseWhole(value, 1, 16, number)) return error = "--scale needs a whole number from 1 to 16", false;
        options.scale = static_cast<int>(number);
    } else if (name == "--seed") {
        if (!ParseWhole(value, 0, 0xFFFFFFFFLL, number)) return error = "--seed needs a number from 0 to 4294967295", false;
        options.hasSeed = true;
        options.seed = static_cast<unsigned long>(number);
    } else if (name == "--level") {
        if (!ParseWhole(value, 1, kLevelCount, number))
            return error = "--level needs a level number from 1 to " + std::to_string(kLevelCount), false;
        options.level = static_cast<int>(number);
    } else if (name == "--frames") {
        if (!ParseWhole(value, 1, kLastFrame, number)) return error = "--frames needs a positive number of frames", false;
        options.frames = static_cast<long>(number);
    } else if (name == "--screenshot") {
        Screenshot shot;
        if (!ParseScreenshot(value, shot)) return error = "--screenshot needs FRAME:FILE.png, e.g. 100:cave.png", false;
        options.screenshots.push_back(shot);
    } else if (name == "--volume") {
        if (!ParseWhole(value, 0, 100, number)) return error = "--volume needs a whole number from 0 to 100", false;
        options.volume = static_cast<int>(number);
    } else if (name == "--record") {
        options.recordPath = value;
    } else if (name == "--replay") {
        options.replayPath = value;
    } else if (name == "--dump") {
        options.dumpPath = value;
    }
    return true;
}

bool TakesValue(const std::string& name) {
    return name == "--scale" || name == "--seed" || name == "--level" || name == "--frames" ||
           name == "--screenshot" || name == "--volume" || name == "--record" || name == "--replay" || name == "--dump";
}

bool ApplyFlag(const std::string& name, Options& options) {
    if (name == "--windowed") options.window = Options::Window::Windowed;
    else if (name == "--fullscreen") options.window = Options::Window::Fullscreen;
    else if (name == "--headless") options.headless = true;
    else if (name == "--save") options.save = true;
    else if (name == "--mute") options.mute = true;
    else if (name == "--version") options.showVersion = true;
    else if (name == "--help" || name == "-h") options.showHelp = true;
    else return false;
    return true;
}

}  // namespace

std::string ShotNeverShown(const Options& options, long framesShown, const std::string& because) {
    for (const Screenshot& shot : options.screenshots)
        if (shot.frame >= framesShown)
            return "--screenshot " + std::to_string(shot.frame) + ":" + shot.path + ": frame " +
                   std::to_string(shot.frame) + " is never shown " + because;
    return "";
}

bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error) {
    options = Options{};
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool inlineValue = false;
        size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            inlineValue = true;
        }
        if (TakesValue(name)) {
            if (!inlineValue) {
                if (i + 1 >= arguments.size()) return error = name + " needs a value (see --help)", false;
                value = arguments[++i];
            }
            if (!ApplyValue(name, value, options, error)) return false;
        } else if (inlineValue || !ApplyFlag(name, options)) {
            error = "unknown option \"" + arguments[i] + "\" (see --help)";
            return false;
        }
    }
    if (options.frames > 0) {
        error = ShotNeverShown(options, options.frames, "with --frames " + std::to_string(options.frames));
        if (!error.empty()) return false;
    }
    return true;
}

bool MayWriteSaveFiles(const Options& options) {
    bool verificationRun = options.headless || !options.replayPath.empty() || options.level > 0;
    return options.save || !verificationRun;
}

const char* OptionsHelp() {
    return "usage: tumbrel [options]\n"
           "Without options the game starts in full screen with its menu.\n"
           "\n"
           "  --windowed             play in a framed window\n"
           "  --fullscreen           play in full screen (the default)\n"
           "  --scale N              show each pixel as N x N screen pixels (1 to 16)\n"
           "  --volume N             sound volume in per cent (0 to 100, default 100)\n"
           "  --mute                 play without sound (the same as --volume 0)\n"
           "  --seed N               seed the random numbers (for reproducible runs)\n"
           "  --record FILE          write the keys of every frame and the seed to FILE\n"
           "                         (with --replay: the replay as it played)\n"
           "  --replay FILE          play the keys of FILE instead of the keyboard; ends with it\n"
           "  --level N              start level N at once; the program ends when it is left\n"
           "  --headless             no visible window, no sound, no frame pacing\n"
           "  --frames N             end after N presented frames\n"
           "  --screenshot F:FILE    save the picture of frame F as a PNG (repeatable)\n"
           "  --dump FILE            write the final game state as JSON to FILE\n"
           "  --save                 let a headless, replay or --level run write the save files\n"
           "  --version              print the version and end\n"
           "  --help                 print this help and end\n"
           "\n"
           "In a window: F12 saves a screenshot, Alt+Enter toggles full screen.\n"
           "A gamepad plays too: d-pad or left stick for the arrows, A Return, B Space,\n"
           "X or a shoulder button left Ctrl, Start or Back Escape.\n";
}
