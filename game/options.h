// The program's command line: window and scale, sound volume, seed, recording and replays,
// headless runs with screenshots and a state dump. Without options the game runs exactly as shipped.
// Depends on the number of levels (game/gems_table.h) only.
#pragma once
#include <string>
#include <vector>

struct Screenshot {
    long frame = 0;     // taken from the picture of this presented frame (0 is the first)
    std::string path;
};

struct Options {
    enum class Window { Default, Windowed, Fullscreen } window = Window::Default;
    int scale = 0;                  // 0: the largest whole factor that fits
    bool hasSeed = false;
    unsigned long seed = 0;
    std::string recordPath;
    std::string replayPath;
    int level = 0;                  // 0: start in the menu
    bool headless = false;
    long frames = -1;               // -1: no limit
    std::vector<Screenshot> screenshots;
    std::string dumpPath;
    bool save = false;              // headless runs keep the player's files unless asked
    int volume = 100;               // per cent of the sound's own loudness
    bool mute = false;
    bool showVersion = false;
    bool showHelp = false;
};

// On failure returns false and sets `error` to one line that names the option.
bool ParseOptions(const std::vector<std::string>& arguments, Options& options, std::string& error);
const char* OptionsHelp();
// The refusal of the first screenshot whose frame cannot come in a run that shows
// `framesShown` frames ("... is never shown " + `because`); empty when there is none.
std::string ShotNeverShown(const Options& options, long framesShown, const std::string& because);
// Verification runs (headless, a replay or a given level) never write save files without --save.
bool MayWriteSaveFiles(const Options& options);
