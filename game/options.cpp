#include "game/options.h"

#include <cerrno>
#include <cstdlib>

namespace {

bool ParseWhole(const std::string& text, long low, long high, long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long parsed = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0' || errno != 0 || parsed < low || parsed > high) return false;
    value = static_cast<long>(parsed);
    return true;
}

bool ParseScreenshot(const std::string& text, Screenshot& shot) {
    size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 >= text.size()) return false;
    shot.path = text.substr(colon + 1);
    return ParseWhole(text.substr(0, colon), 0, 1L << 40, shot.frame);
}

// Options that take a value; false with `error` set when the value is bad.
bool ApplyValue(const std::string& name, const std::string& value, Options& options, std::string& error) {
    long number = 0;
    if (name == "--scale") {
        if (!ParseWhole(value, 1, 16, number)) return error = "--scale needs a whole number from 1 to 16", false;
        options.scale = static_cast<int>(number);
    } else if (name == "--seed") {
        if (!ParseWhole(value, 0, 0xFFFFFFFFL, number)) return error = "--seed needs a number from 0 to 4294967295", false;
        options.hasSeed = true;
        options.seed = static_cast<unsigned long>(number);
    } else if (name == "--level") {
        if (!ParseWhole(value, 1, 50, number)) return error = "--level needs a level number from 1 to 50", false;
        options.level = static_cast<int>(number);
    } else if (name == "--frames") {
        if (!ParseWhole(value, 1, 1L << 40, number)) return error = "--frames needs a positive number of frames", false;
        options.frames = number;
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
    if (!options.recordPath.empty() && !options.replayPath.empty()) {
        error = "--record and --replay cannot be used together";
        return false;
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
