// The program frame: the game entry with its fixed settings, RuntimeInit in its order with the
// device steps the program registered, and the end-of-program clean-up in its order.
#include "core/program.h"

#include <unistd.h>

#include <cstdio>

#include "core/clock.h"
#include "core/errors.h"
#include "core/file_channels.h"
#include "core/media_archive.h"
#include "core/random.h"

RuntimeSettings gSettings;
std::string gCommandLine;
std::string gWindowTitle;

namespace {

DeviceSteps gDevices;
// Set once RuntimeInit has made the program's directory current, so the clean-up goes back there;
// a test that never ran RuntimeInit keeps its own current directory.
bool gProgramDirectoryEntered = false;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

template <typename Step, typename... Args>
void RunStep(Step step, Args&&... args) {
    if (step != nullptr) step(args...);
}

void EnterProgramDirectory() {
    std::string directory = ProgramDirectory();
    if (!directory.empty() && chdir(directory.c_str()) == 0) gProgramDirectoryEntered = true;
}

}  // namespace

void RegisterDeviceSteps(const DeviceSteps& steps) { gDevices = steps; }

// ---------------------------------------------------------------------------------------------
// Process and game entry

std::string ArgumentText(const std::string& commandLine) {
    size_t i = 0, n = commandLine.size();
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i < n && commandLine[i] == '"') {
        ++i;
        while (i < n && commandLine[i] != '"') ++i;
        if (i < n) ++i;  // the closing quote
    } else {
        while (i < n && !IsBlank(commandLine[i])) ++i;
    }
    while (i < n && IsBlank(commandLine[i])) ++i;
    return commandLine.substr(i);
}

std::string CommandLineFromArguments(int argc, const char* const* argv) {
    std::string commandLine;
    for (int i = 0; i < argc; ++i) {
        std::string word = argv[i] != nullptr ? argv[i] : "";
        bool needsQuotes = word.empty() || word.find_first_of(" \t") != std::string::npos;
        if (i > 0) commandLine += ' ';
        commandLine += needsQuotes ? "\"" + word + "\"" : word;
    }
    return commandLine;
}

std::string ProgramDirectory() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string executable(path, static_cast<size_t>(length));
    size_t slash = executable.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : executable.substr(0, slash);
}

void GameEntry(const std::string& argumentText, void (*gameMain)()) {
    gCommandLine = argumentText;
    int showMode = gSettings.showMode;
    gSettings = RuntimeSettings{};
    gSettings.showMode = showMode;
    RuntimeInit("TumbrelDemo");
    gErrorState.number = 0;
    gErrorState.line = 0;
    gErrorState.currentLine = 0;
    if (gameMain != nullptr) gameMain();
    RuntimeErrorExit();
}

// ---------------------------------------------------------------------------------------------
// Start and clean-up

void RuntimeInit(const char* title) {
    if (gDevices.createWindow != nullptr && !gDevices.createWindow(gSettings, title)) return;
    gWindowTitle = title != nullptr ? title : "";
    DeleteErrorLog();
    RunStep(gDevices.createDevices);
    SeedRandom(static_cast<uint32_t>(static_cast<uint64_t>(ClockNowMs())));
    RunStep(gDevices.setupSurface, gSettings);
    RunStep(gDevices.openInputAndSound, gSettings);
    EnterProgramDirectory();
    CreateMediaArchiveSlots(ProgramDirectory());
    RunStep(gDevices.clearScreen);
    RunStep(gDevices.resetFrameClock);
    RunStep(gDevices.setup2D);
    RunStep(gDevices.showLoading);
    // Linux timers already have millisecond resolution; nothing to raise.
    RunStep(gDevices.resetFrameClock);
    if (gSettings.showMode == 0) RunStep(gDevices.hideWindow);
    RunStep(gDevices.setupMouse, gSettings);
    std::puts("Init OK");
    std::fflush(stdout);
}

void EndOfProgramCleanup() {
    if (gProgramDirectoryEntered) EnterProgramDirectory();
    RunStep(gDevices.destroyWindow);
    RunStep(gDevices.shutdownInput);
    RunStep(gDevices.shutdownSound);
    ReleaseMediaArchiveSlots();
    CloseAllFileChannels();
}
