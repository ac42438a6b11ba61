// The program frame: the fixed start settings, RuntimeInit in its order, the clean-up in its order.
// Core knows no device: the program registers the device steps (window, input, sound, font)
// and the frame calls them at their places. A null step is a device that is not there.
#pragma once
#include <string>

struct RuntimeSettings {
    int width = 320;
    int height = 240;
    int fullscreen = 1;
    int samples = 0;
    int framesPerSecond = 60;
    int keepForeground = 0;
    int mouseThroughInput = 0;
    int showMode = 10;
};
extern RuntimeSettings gSettings;
extern std::string gCommandLine;  // the argument text after the program name
extern std::string gWindowTitle;

struct DeviceSteps {
    bool (*createWindow)(const RuntimeSettings&, const char* title) = nullptr;  // false ends RuntimeInit early
    void (*createDevices)() = nullptr;               // input, sound and the 256 sample slots
    void (*setupSurface)(const RuntimeSettings&) = nullptr;  // full screen or framed
    void (*openInputAndSound)(const RuntimeSettings&) = nullptr;
    void (*clearScreen)() = nullptr;
    void (*resetFrameClock)() = nullptr;              // the three clock readings := now
    void (*setup2D)() = nullptr;
    void (*showLoading)() = nullptr;                  // "smalfont.bmp" as font 0, "Loading..." centred, present
    void (*hideWindow)() = nullptr;
    void (*setupMouse)(const RuntimeSettings&) = nullptr;
    // clean-up, called in this order after the current directory is restored
    void (*destroyWindow)() = nullptr;
    void (*shutdownInput)() = nullptr;
    void (*shutdownSound)() = nullptr;
};
void RegisterDeviceSteps(const DeviceSteps& steps);

// Turns a process command line into the argument text: skips the program name (quoted or not)
// and the blanks and tabs around it.
std::string ArgumentText(const std::string& commandLine);
// The command line as the original platform hands it over: words joined by blanks, a word with a
// blank, a tab or nothing in it quoted.
std::string CommandLineFromArguments(int argc, const char* const* argv);

void RuntimeInit(const char* title);
void EndOfProgramCleanup();
std::string ProgramDirectory();  // directory of /proc/self/exe, without the trailing "/"

// Game entry: store the argument text, fix the settings, RuntimeInit, zero the error state,
// run the game's main routine, then RuntimeErrorExit. Never returns.
[[noreturn]] void GameEntry(const std::string& argumentText, void (*gameMain)());
